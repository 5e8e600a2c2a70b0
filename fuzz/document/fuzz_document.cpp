// Feeds arbitrary bytes as a document text: every calculator's section is
// loaded and stored back, which must never corrupt the other sections.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "document/document_store.h"
#include "document/section_text.h"
#include "platform/scripted_messenger.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  qz::ScriptedMessenger messenger;
  qz::RecentFiles recent;
  qz::DocumentStore document(messenger, recent);
  document.setText(text);
  for (int calculator = 0; calculator < qz::kCalculatorCount; ++calculator) {
    auto body = document.LoadSection(calculator);
    if (body) {
      qz::SectionReader reader(*body);
      while (!reader.atEnd()) {
        qz::SectionLine line = reader.nextFields();
        (void)line.integer(0);
        (void)line.real(1);
      }
    }
  }
  // Store a section into the foreign text: the others must read back the same.
  std::optional<std::string> before[qz::kCalculatorCount];
  for (int c = 0; c < qz::kCalculatorCount; ++c) before[c] = document.LoadSection(c);
  const int target = static_cast<int>(size % qz::kCalculatorCount);
  document.StoreSection(target, std::string("1\n2|3.5\n"));
  for (int c = 0; c < qz::kCalculatorCount; ++c) {
    if (c == target) {
      if (document.LoadSection(c) != std::optional<std::string>("1\n2|3.5\n")) std::abort();
    } else if (before[c] && document.LoadSection(c) != before[c]) {
      std::abort();
    }
  }
  return 0;
}
