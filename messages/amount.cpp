// The money text of a "%$%" parameter: the amount as DollarsToString writes
// it into a 28-byte field, with no negation and a leading minus, its leading
// blanks removed ("-1,234.50").
#include <string_view>

#include "corvalib/numbers.h"
#include "messages/engine.h"
#include "text/bstr.h"

namespace corva::messages {

std::string_view amount_text(double amount, char (&field)[28]) {
  DollarsToString(amount, 27, field, 0, '-');
  std::string_view t = text::view(27, field);
  const auto first = t.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string_view(field, 0) : t.substr(first);
}

}  // namespace corva::messages
