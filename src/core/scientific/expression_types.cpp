#include "scientific/expression_types.h"

#include "numbers/messages.h"
#include "numbers/string_table.h"

namespace qz {

std::string ExpressionFault::messageText() const {
  std::string text = LoadString(textId);
  if (place == FaultPlace::Expression) text += LoadString(kExpressionLocation);
  if (place == FaultPlace::Constant) text += LoadMessageText(kConstantLocation, std::to_string(definition));
  return text;
}

}  // namespace qz
