// Build-time tool: lays the HTML user manual out on A4 pages and writes it as
// the PDF manual that the program opens from its data folder.
//
//   manual_pdf <manual.html> <manual.pdf>
//
// It needs no display: run it with QT_QPA_PLATFORM=offscreen.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextStream>
#include <QUrl>

#include <cstdio>

namespace {

int fail(const QString& text) {
  std::fprintf(stderr, "manual_pdf: %s\n", text.toLocal8Bit().constData());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QStringList args = QGuiApplication::arguments();
  if (args.size() != 3) return fail(QStringLiteral("usage: manual_pdf <manual.html> <manual.pdf>"));
  const QString htmlPath = args.at(1);
  const QString pdfPath = args.at(2);

  QFile htmlFile(htmlPath);
  if (!htmlFile.open(QIODevice::ReadOnly)) return fail(QStringLiteral("cannot read %1").arg(htmlPath));
  // The manual is written in UTF-8 (its <meta> says so); reading it as such keeps
  // the accents whatever the build machine's locale.
  const QString html = QString::fromUtf8(htmlFile.readAll());
  if (html.trimmed().isEmpty()) return fail(QStringLiteral("%1 is empty").arg(htmlPath));

  if (!QDir().mkpath(QFileInfo(pdfPath).absolutePath()))
    return fail(QStringLiteral("cannot create the folder of %1").arg(pdfPath));

  QTextDocument document;
  // The same sans-serif face the desktop program uses; the help window shows the
  // file with its own default font, the printed manual with this one.
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPointSizeF(10.0);
  document.setDefaultFont(font);
  // The pictures are named relative to the manual, as the help window finds
  // them beside the file it shows. print() lays out a copy of the document,
  // which keeps the document's URL but not its base URL: without the URL the
  // pictures would be looked for in the working folder and left out.
  document.setMetaInformation(QTextDocument::DocumentUrl,
                              QUrl::fromLocalFile(QFileInfo(htmlPath).absoluteFilePath()).toString());
  document.setHtml(html);

  QPdfWriter writer(pdfPath);
  writer.setTitle(QStringLiteral("QZ - Manuel d'utilisation"));
  writer.setCreator(QStringLiteral("QZ"));
  writer.setResolution(300);
  // A4 portrait. QTextDocument::print lays an unpaginated document out with
  // 2 cm margins of its own inside the writer's page area and puts the page
  // number in the bottom one, so the writer itself keeps only a small margin.
  writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(2, 2, 2, 2),
                                   QPageLayout::Millimeter));
  document.print(&writer);

  // QPdfWriter reports no error of its own: check that a file came out.
  if (QFileInfo(pdfPath).size() <= 0) return fail(QStringLiteral("nothing written to %1").arg(pdfPath));
  return 0;
}
