#pragma once

// The tabbed dialog: a row of tabs, each with a page that holds the controls placed on it.
// Tabs are numbered from 0. A control created with page(i) as its parent is placed in twips from
// the page's top-left corner, below the tabs, and shows only while its tab is the current one.
// Captions are shown as given, trailing blanks included ("&" marks the tab's access key).
// Click(previousTab) fires when the current tab changes, by the user or in code.

#include "Control.h"

#include <QStringList>

class QTabWidget;

namespace platform {

class TabControl : public Control
{
    Q_OBJECT
public:
    TabControl(QWidget *parent, const QString &name, const QStringList &captions);

    int Tabs() const;
    // A number outside 0..Tabs()-1 raises 380 "Invalid property value".
    QString TabCaption(int index) const;
    void setTabCaption(int index, const QString &caption);
    int Tab() const;
    void setTab(int index);
    QWidget *page(int index) const;

    // Each caption in its tab, as far as the tab lies within the control.
    QList<TextRoom> textRooms() const override;

signals:
    void Click(int previousTab);

private:
    void checkIndex(int index) const;

    QTabWidget *mTabs;
    int mCurrent = 0;
};

} // namespace platform
