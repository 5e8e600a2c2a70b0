// The scientific calculator without its window: the rules of the expression,
// constants and x fields, the check and calculate commands, the results list,
// the history with undo, the clipboard texts, the memory sources and targets
// and the enabled state of every button and menu item. A window shows this
// object's texts and forwards what the user does.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/messenger.h"
#include "scientific/expression_engine.h"
#include "scientific/scientific_state.h"

namespace qz {

/// The fields of the window that take typed text.
enum class ScientificField {
  None,        ///< no field has the focus (a button, the list, the result box)
  Expression,  ///< the expression y = f(x), lower case, at most 255 characters
  Constants,   ///< the constants, lower case, lines separated by CR LF, at most 511
  X,           ///< the value of x, upper case, at most 25 characters
};

/// A selection or caret in a field, as byte offsets into its text.
struct TextSelection {
  int start = 0;
  int end = 0;
  bool empty() const { return start == end; }
};

/// A field's new text after a paste or the use of a memory, for the window to show.
struct FieldUpdate {
  ScientificField field = ScientificField::None;
  std::string text;
  int caret = 0;  ///< where the caret goes
};

/// The outcome of checking the x field before a calculation.
enum class XFieldStatus {
  Empty,    ///< nothing to calculate, nothing shown
  Valid,    ///< the value is usable
  Invalid,  ///< its value message was shown
};

inline constexpr std::size_t kMaxXLength = 25;

class ScientificCalculator {
 public:
  /// The rnd() generator is seeded from the clock.
  explicit ScientificCalculator(Messenger& messenger);
  ScientificCalculator(Messenger& messenger, RandomGenerator random);

  // --- State -------------------------------------------------------------

  /// Takes the state handed over by the document when the window opens:
  /// empty x field, no valid result, undo count 0, and the newest history
  /// entry set to the current pair.
  void open(ScientificState state);
  /// After a document was read into `state`: as open(), the x field kept.
  void loadState(ScientificState state);
  /// The state to hand back to the document (and to write as its section).
  const ScientificState& state() const { return m_state; }

  const std::string& expression() const { return m_state.expression; }
  const std::string& constants() const { return m_state.constants; }
  const std::string& xText() const { return m_x; }
  AngleUnit angleUnit() const { return m_state.angleUnit; }

  // --- Typing in the fields ------------------------------------------------
  // Each takes the field's whole text after a change. A refused change
  // (a character the field does not take) sounds the warning beep and
  // returns false: the window restores the previous text and puts the caret
  // back one place. Texts longer than the field keep their first characters.

  /// Lower-cased; letters, digits and " =.+-*/^()". Any change empties the
  /// results list and invalidates the result.
  bool editExpression(std::string_view text);
  /// Lower-cased; letters, digits, " =.+-", ";" and line breaks (stored as
  /// CR LF). Any change empties the results list and invalidates the result.
  bool editConstants(std::string_view text);
  /// Upper-cased; must be a real being typed (negatives allowed), stored in
  /// its normalised form (no blanks, "," read as ".").
  bool editX(std::string_view text);

  /// The expression field loses the focus: blanks go, "", "y" and "y=" become
  /// "y=0", and the history is pushed when the text differs from its newest entry.
  void leaveExpression();
  /// The constants field loses the focus: blanks go, ";" at the start and
  /// end are dropped, every other ";" becomes a line break, and the history is
  /// pushed when the text differs from its newest entry.
  void leaveConstants();

  /// The radio buttons: a change invalidates the result and empties the list.
  void setAngleUnit(AngleUnit unit);

  // --- Commands -----------------------------------------------------------

  /// "Co&ntrôler": check and compile; on success "CONTRÔLE" with text 164.
  /// The texts are rewritten as stored (the window shows them again).
  bool check();
  /// "Calculer &y": x field check, then check, compile and evaluate; the
  /// result and the pair (x, y) are appended (text 12 once the list holds
  /// 1000 pairs). A failure leaves "?" in the result box and the list as it was.
  /// Returns true when a pair was appended.
  bool calculate();
  /// "Effacer &x": empties x and invalidates the result.
  void clearX();
  /// "Effacer toute la &liste", "&Effacer la liste".
  void clearList();
  /// "Efface&r dernier résultat": removes the last pair, if any.
  void clearLastResult();
  /// "Effacer &tout": asks (text 20); on Yes clears the calculator. Returns
  /// true when cleared.
  bool clearAll();
  /// The clearing itself, also run after "Effacer toutes les calculettes":
  /// empty x, radians, "y=0", no constants, empty list.
  void clearCalculator();
  /// "&Annuler": restores the previous committed pair; false when there is
  /// nothing to undo.
  bool undo();

  // --- x field ------------------------------------------------------------

  /// The check before a calculation or a memory operation: shows "Valeur
  /// incorrecte !" or the limit message when the text is not a usable real,
  /// and then clears the ready flag (set again at the start of each check).
  XFieldStatus checkX(double& x);
  /// False after an x field check failed: the window may not be left.
  bool ready() const { return m_ready; }

  // --- Result box ---------------------------------------------------------

  bool resultValid() const { return m_resultValid; }
  double result() const { return m_result; }
  /// A blank, then y in free format, or "?" without a valid result.
  std::string resultBoxText() const;
  bool resultSelected() const { return m_resultSelected; }
  /// A click in the result box selects it; a click elsewhere clears it.
  void setResultSelected(bool selected) { m_resultSelected = selected; }

  // --- Results list -------------------------------------------------------

  const std::vector<ResultPair>& results() const { return m_state.results; }
  /// Row `i` as the list shows it: x "%.12G" padded with blanks to at least
  /// 16 characters (at least one blank), then y "%.12G".
  std::string resultLine(std::size_t i) const;

  // --- Clipboard ----------------------------------------------------------

  /// "&Copier": the focused field's selection when it has one, else y in
  /// free format when the result is valid, else "".
  std::string copyText(ScientificField focus, std::string_view fieldSelection) const;
  /// "&Copier la liste x,y": "%.12G\t%.12G\r\n" per pair.
  std::string listCopyText() const;
  /// The field a paste goes to: the focused expression or constants field,
  /// otherwise the x field.
  static ScientificField pasteTarget(ScientificField focus);
  /// "C&oller": `clipboard` replaces `selection` of the target field (all of
  /// the x field when nothing is selected there), then the field's rules
  /// apply; nothing when they refuse it.
  std::optional<FieldUpdate> paste(ScientificField focus, std::string_view clipboard,
                                   TextSelection selection);
  /// The clipboard could not be used: "ERREUR", text 94.
  void reportClipboardFailure();

  // --- Memories -----------------------------------------------------------

  /// The value text for "Copier dans Mi" and "Ajouter à Mi": after a valid x
  /// field check, the x text when the x field has the focus, else y when the
  /// result is valid and selected; nothing otherwise. The result box loses
  /// its selection.
  std::optional<std::string> memorySourceText(ScientificField focus);
  /// "Utiliser Mi": the value in free format replaces the selection of the
  /// focused expression or constants field (the text cut to its limit), or
  /// becomes the x field's text. The result box loses its selection.
  std::optional<FieldUpdate> useMemory(double value, ScientificField focus, TextSelection selection);

  // --- Enabled commands ---------------------------------------------------

  /// "Co&ntrôler": an expression other than "y=0", or constants.
  bool canCheck() const;
  /// "Effacer &tout": a result pair, an expression other than "y=0", constants or an x text.
  bool canClearAll() const;
  /// Print and export: an expression and at least one pair.
  bool canPrint() const;
  bool canUndo() const { return m_undoCount > 0; }
  /// "&Copier la liste x,y" and "&Effacer la liste".
  bool canCopyList() const { return !m_state.results.empty(); }
  bool canClearList() const { return !m_state.results.empty(); }
  int undoCount() const { return m_undoCount; }

  ExpressionEngine& engine() { return m_engine; }

 private:
  void invalidate();
  void changed();
  void pushHistory();
  bool evaluateWithChecks(double x, double& y);

  Messenger& m_messenger;
  ExpressionEngine m_engine;
  ScientificState m_state;
  std::string m_x;
  double m_result = 0.0;
  bool m_resultValid = false;
  bool m_resultSelected = false;
  bool m_ready = true;
  int m_undoCount = 0;
};

}  // namespace qz
