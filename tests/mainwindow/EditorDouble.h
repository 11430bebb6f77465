#pragma once

// The editor as the main window reaches it (core::editorInstance(), members set by name, the wait
// on mblnIsRunning): a window that records, when it is shown, what it was given and how the main
// window looked, then runs a test's action from the event loop (the main window's wait is under
// way by then). The scope installs it as the editor hook and makes a new one for every opening,
// as an unloaded editor is made anew.

#include "core/EditorHook.h"
#include "mainwindow/frmDazez.h"
#include "platform/forms/Form.h"

#include <QPointer>
#include <QTimer>

#include <functional>
#include <vector>

namespace kxmaintest {

struct EditorOpening
{
    QObject *parent = nullptr;
    qint32 id = 0;
    bool parentEnabled = true;
    bool noticeTimerOn = false;
};

class EditorDouble : public platform::Form
{
    Q_OBJECT
    Q_PROPERTY(bool mblnIsRunning READ isRunning NOTIFY mblnIsRunningChanged)
    Q_PROPERTY(QObject *frmParent MEMBER frmParent)
    Q_PROPERTY(qint32 prpDataId MEMBER prpDataId)
public:
    using Action = std::function<void(EditorDouble &)>;
    EditorDouble(std::vector<EditorOpening> &openings, Action whileOpen)
        : Form(QStringLiteral("frmEditor")), mOpenings(openings), mWhileOpen(std::move(whileOpen))
    {
    }

    bool isRunning() const { return mRunning; }

    QObject *frmParent = nullptr;
    qint32 prpDataId = 0;

signals:
    void mblnIsRunningChanged(bool running);

protected:
    void Form_Load() override
    {
        mRunning = true;
        emit mblnIsRunningChanged(true);
        auto *main = qobject_cast<frmDazez *>(frmParent);
        mOpenings.push_back(
            {frmParent, prpDataId, main && main->isEnabled(), main && main->Timer1->isActive()});
        QTimer::singleShot(0, this, [this] {
            if (mWhileOpen)
                mWhileOpen(*this);
            else
                Unload();
        });
    }
    void Form_Unload(int &) override
    {
        mRunning = false;
        emit mblnIsRunningChanged(false);
    }

private:
    std::vector<EditorOpening> &mOpenings;
    Action mWhileOpen;
    bool mRunning = false;
};

class EditorHookScope
{
public:
    // `whileOpen` runs once each editor is open; none closes it at once.
    explicit EditorHookScope(EditorDouble::Action whileOpen = {})
    {
        core::editorInstanceHook() = [this, whileOpen]() -> platform::Form * {
            if (!mLast || mLast->isUnloaded())
                mLast = new EditorDouble(openings, whileOpen);
            return mLast;
        };
    }
    ~EditorHookScope()
    {
        core::editorInstanceHook() = nullptr;
        delete mLast.data();
    }
    EditorHookScope(const EditorHookScope &) = delete;
    EditorHookScope &operator=(const EditorHookScope &) = delete;

    std::vector<EditorOpening> openings;

private:
    QPointer<EditorDouble> mLast;
};

} // namespace kxmaintest
