#include "statistics/trend_dialog.h"

#include <QApplication>
#include <QDir>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/help_window.h"
#include "platform/painter_canvas.h"
#include "platform/qt_messenger.h"
#include "statistics/diagram_export.h"
#include "platform/qt_text.h"
#include "statistics/regression_fit.h"

namespace qz {

DiagramView::DiagramView(const DiagramSeries& series, QWidget* parent) : QWidget(parent), m_series(series) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setMinimumSize(360, 220);
}

bool DiagramView::render() {
  if (m_drawing) {
    // A resize while drawing: start over once this drawing is done.
    m_again = true;
    return false;
  }
  m_drawing = true;
  bool complete = true;
  do {
    m_again = false;
    m_stop = false;
    m_interrupted = false;
    const qreal ratio = devicePixelRatioF();
    m_picture = QImage(size() * ratio, QImage::Format_RGB32);
    m_picture.setDevicePixelRatio(ratio);
    m_picture.fill(palette().color(QPalette::Window));
    QPainter painter(&m_picture);
    painter.setRenderHint(QPainter::Antialiasing);
    PainterCanvas canvas(&painter);
    DiagramStyle style;
    style.background = Rgb{255, 255, 255};
    QElapsedTimer clock;
    clock.start();
    auto stop = [this, &clock] {
      if (clock.elapsed() >= m_checkMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        clock.restart();
      }
      return m_stop || m_again;
    };
    complete = drawDiagram(canvas, Rect{0, 0, width(), height()}, m_series, style, stop);
    m_interrupted = !complete && !m_again;
  } while (m_again);
  m_drawing = false;
  update();
  return complete;
}

void DiagramView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // Drawn once the resizing has settled, outside the paint event.
  QTimer::singleShot(0, this, [this] { render(); });
}

void DiagramView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (m_picture.isNull())
    painter.fillRect(rect(), Qt::white);
  else
    painter.drawImage(0, 0, m_picture);
  painter.setPen(QColor(128, 128, 128));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

TrendDialog::TrendDialog(DiagramSeries series, QWidget* parent)
    : QDialog(parent), m_series(std::move(series)), m_view(new DiagramView(m_series, this)) {
  setWindowTitle(QStringLiteral("  Courbe de tendance"));
  setModal(true);
  setFont(PainterCanvas::qtFont({"Arial", -13, 400}));
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setDefault(true);
  m_printButton = new QPushButton(QStringLiteral("&Imprimer"), this);
  m_printButton->setAutoDefault(false);
  m_printButton->setToolTip(QStringLiteral("Imprimer le diagramme"));
  auto* help = new QPushButton(QStringLiteral("&Aide"), this);
  help->setAutoDefault(false);
  connect(help, &QPushButton::clicked, this,
          [this] { HelpWindow::showTopic(QStringLiteral("statistique"), this); });
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  // The diagram page is printed by the window's report service, like every report.
  connect(m_printButton, &QPushButton::clicked, this, &TrendDialog::printRequested);
  m_saveButton = new QPushButton(QStringLiteral("Enregistrer le diagramme..."), this);
  m_saveButton->setAutoDefault(false);
  m_saveButton->setToolTip(QStringLiteral("Enregistrer le diagramme en image PNG ou SVG"));
  connect(m_saveButton, &QPushButton::clicked, this, &TrendDialog::saveDiagram);

  // The fit beside the diagram: its choice (mode 2) and its results.
  m_fitChoice = new QComboBox(this);
  m_fitChoice->setObjectName(QStringLiteral("fitChoice"));
  m_fitChoice->setToolTip(QStringLiteral("Courbe de tendance ajustée aux points"));
  for (int kind = 0; kind < kFitKindCount; ++kind)
    m_fitChoice->addItem(cp1252ToQString(fitLabel(static_cast<FitKind>(kind))));
  m_fitChoice->hide();
  m_fitResults = new QLabel(this);
  m_fitResults->setObjectName(QStringLiteral("fitResults"));
  m_fitResults->setTextInteractionFlags(Qt::TextSelectableByMouse);
  connect(m_fitChoice, &QComboBox::activated, this, &TrendDialog::fitChosen);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(m_fitChoice);
  buttons->addStretch(1);
  buttons->addWidget(m_saveButton);
  buttons->addWidget(m_printButton);
  buttons->addWidget(ok);
  buttons->addWidget(help);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(10, 10, 10, 10);
  layout->setSpacing(10);
  layout->addWidget(m_view, 1);
  layout->addWidget(m_fitResults);
  layout->addLayout(buttons);
  resize(680, 480);
  if (parent) move(parent->window()->frameGeometry().center() - rect().center());
}

TrendDialog::~TrendDialog() = default;

void TrendDialog::setSaveTarget(Messenger* messenger, const QString& folder) {
  m_saveMessenger = messenger;
  m_saveFolder = folder;
}

void TrendDialog::saveDiagram() {
  const QString png = QStringLiteral("Image PNG (*.png)"), svg = QStringLiteral("Image SVG (*.svg)");
  const QString folder = m_saveFolder.isEmpty() ? QDir::homePath() : m_saveFolder;
  QFileDialog dialog(this, QStringLiteral("Enregistrer le diagramme"), folder, png + QStringLiteral(";;") + svg);
  dialog.setObjectName(QStringLiteral("diagramFileDialog"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("png"));
  dialog.selectFile(QDir(folder).filePath(QStringLiteral("diagramme.png")));
  // A name typed without an extension takes the chosen type's.
  connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, svg](const QString& filter) {
    dialog.setDefaultSuffix(filter == svg ? QStringLiteral("svg") : QStringLiteral("png"));
  });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QString path = dialog.selectedFiles().front();
  m_saveFolder = QFileInfo(path).absolutePath();
  Messenger* messenger = m_saveMessenger;
  if (!messenger) {
    if (!m_ownMessenger) {
      m_ownMessenger = std::make_unique<QtMessenger>();
      m_ownMessenger->setTitle(QApplication::applicationName());
    }
    m_ownMessenger->setParent(this);
    messenger = m_ownMessenger.get();
  }
  // The picture has the size of the frame on the screen: what the user sees is what is saved.
  saveDiagramPicture(m_series, path.toStdString(), pictureFormatOf(path), m_view->size(), *messenger);
}

void TrendDialog::offerFits(int current) {
  m_fitChoice->setCurrentIndex(current);
  m_fitChoice->show();
}

void TrendDialog::showFit(DiagramSeries series, int current, const std::string& results) {
  m_series = std::move(series);
  m_fitChoice->setCurrentIndex(current);
  m_fitResults->setText(cp1252ToQString(results));
  m_fitResults->setVisible(!results.empty());
  // Before the dialog is shown its first resize draws the diagram.
  if (!m_view->isVisible()) return;
  layout()->activate();
  m_view->render();
}

void TrendDialog::keyPressEvent(QKeyEvent* event) {
  // Escape stops a drawing under way; otherwise it closes the dialog.
  if (event->key() == Qt::Key_Escape && m_view->drawing()) {
    m_view->interrupt();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace qz
