#include "TabControl.h"

#include "platform/vb/RuntimeError.h"

#include <QRegularExpression>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QTabWidget>

namespace platform {

TabControl::TabControl(QWidget *parent, const QString &name, const QStringList &captions)
    : Control(ControlKind::TabControl, parent, name), mTabs(new QTabWidget(this))
{
    for (const QString &caption : captions) {
        auto *page = new QWidget(mTabs);
        page->setObjectName(name + QStringLiteral("_page") + QString::number(mTabs->count()));
        mTabs->addTab(page, caption);
    }
    connect(mTabs, &QTabWidget::currentChanged, this, [this](int index) {
        const int previous = mCurrent;
        mCurrent = index;
        emit Click(previous);
    });
    setInner(mTabs);
}

int TabControl::Tabs() const
{
    return mTabs->count();
}

void TabControl::checkIndex(int index) const
{
    if (index < 0 || index >= mTabs->count())
        vb::raise(vb::err::InvalidPropertyValue);
}

QString TabControl::TabCaption(int index) const
{
    checkIndex(index);
    return mTabs->tabText(index);
}

void TabControl::setTabCaption(int index, const QString &caption)
{
    checkIndex(index);
    mTabs->setTabText(index, caption);
}

int TabControl::Tab() const
{
    return mTabs->currentIndex();
}

void TabControl::setTab(int index)
{
    checkIndex(index);
    mTabs->setCurrentIndex(index);
}

QWidget *TabControl::page(int index) const
{
    checkIndex(index);
    return mTabs->widget(index);
}

QList<TextRoom> TabControl::textRooms() const
{
    // A tab is as wide as its caption asks; what can cut a caption is the control's edge. The
    // caption is measured as drawn, its access key's "&" left out.
    QList<TextRoom> rooms;
    const QTabBar *bar = mTabs->tabBar();
    for (int i = 0; i < bar->count(); ++i) {
        QStyleOptionTab tab;
        tab.initFrom(bar);
        tab.shape = bar->shape();
        tab.rect = bar->tabRect(i);
        tab.text = bar->tabText(i);
        tab.iconSize = bar->iconSize();
        tab.documentMode = bar->documentMode();
        QRect text = bar->style()->subElementRect(QStyle::SE_TabBarTabText, &tab, bar);
        text.setRight(std::min(text.right(), width() - 1));
        QString shown = tab.text;
        shown.replace(QRegularExpression(QStringLiteral("&(.)")), QStringLiteral("\\1"));
        rooms.append({{shown}, text.size(), bar->font(), false, size()});
    }
    return rooms;
}

} // namespace platform
