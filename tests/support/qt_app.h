// One QApplication for the whole test program, made on first use, for the
// cases that paint or build widgets (the offscreen platform is set for the
// tests by the build).
#pragma once

#include <QApplication>

namespace dorvelix::testing {

inline QApplication& qtApp()
{
    static int argc = 1;
    static char name[] = "dorvelix_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: tearing it down among the other statics at exit is
    // not safe.
    static auto* app = new QApplication(argc, argv);
    return *app;
}

}  // namespace dorvelix::testing
