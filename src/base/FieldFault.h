// A refused entry of a dialog: the field the dialog returns the focus to and
// the message it shows.
#pragma once

#include <string>

namespace hp::base {

// `Field` is the dialog's own field enum (or number). The dialog keeps its
// values as they were and stays open.
template <typename Field>
struct FieldFault {
  Field field;
  std::string message;  // German, UTF-8
};

}  // namespace hp::base
