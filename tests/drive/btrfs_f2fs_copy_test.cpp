// (filled in with the real-volume tests of this layout)
#include <gtest/gtest.h>
