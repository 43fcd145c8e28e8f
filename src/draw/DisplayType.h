// The worksheet's display types as the drawing code names them.
#pragma once

#include "doc/DisplayType.h"

namespace hp::draw {

using doc::DisplayType;
using doc::DisplayTypeFromListPosition;
using doc::DisplayTypeOf;
using doc::DisplayTypeText;
using doc::kDisplayTypeCount;
using doc::ListPositionOfDisplayType;

}  // namespace hp::draw
