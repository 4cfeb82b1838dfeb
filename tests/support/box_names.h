// Value boxes in test messages by their object names ("Text28").
#pragma once

#include "value_boxes.h"

#include <ostream>

namespace dorvelix {

inline std::ostream& operator<<(std::ostream& out, Box box)
{
    return out << objectName(box);
}

}  // namespace dorvelix
