#pragma once

#include "platform/forms/Form.h"
#include "support/ScriptedPlatform.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace kxformstest {

inline void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The scripted platform; every window a test leaves behind is deleted after it.
class FormTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        for (platform::Form *form : QList<platform::Form *>(platform::Forms()))
            delete form;
        flushDeletes();
    }

    kxtest::ScriptedPlatform platform;
};

} // namespace kxformstest
