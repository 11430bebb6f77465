#pragma once

// The check that a window shows its texts whole: every label, command button, check box,
// one-line text box, combo box, list header and column, calendar cell, tab and status panel the
// user can see holds its text (each control kind says where it draws its texts:
// Control::textRooms), and the window lies on the screen. Any window of any layer is checked
// with one line:
//     EXPECT_TRUE(kxtest::textsFit(*window));

#include "platform/forms/Form.h"

#include <QFont>

#include <gtest/gtest.h>

namespace kxtest {

::testing::AssertionResult textsFit(const platform::Form &form);

// Stands for a desktop font of the given point size (0: the platform's own) while it lives.
class DesktopFont
{
public:
    explicit DesktopFont(double pointSize);
    ~DesktopFont();
    DesktopFont(const DesktopFont &) = delete;
    DesktopFont &operator=(const DesktopFont &) = delete;

private:
    QFont mBefore;
};

} // namespace kxtest
