#pragma once

// The main window. Loaded by the splash window at the end of start-up; its load shows it. The
// program lives as long as this window.
//
// Timer1 is the notice timer (300 ms): created off, registered with the date engine for as long
// as the window exists, so that the engine can switch it off while it rebuilds its lists.
// Timer2 is the day timer (450 ms).

#include "platform/forms/Form.h"

class QTimer;

class frmDazez : public platform::Form
{
    Q_OBJECT
public:
    explicit frmDazez(QWidget *parent = nullptr);
    ~frmDazez() override;

    QTimer *Timer1 = nullptr;
    QTimer *Timer2 = nullptr;

protected:
    void Form_Load() override;
};
