#pragma once

// The list view, in report view: column headers, rows of a text and up to (columns - 1)
// sub-items, a small picture per row, at most one selected row. Contracts:
//  - ColumnHeaders and ListItems number from 1. A number they do not have raises 35600 "Index
//    out of bounds"; a row key already in use 35602 "Key is not unique in collection" (an empty
//    key is no key and never clashes); a sub-item outside 1..columns-1 raises 380.
//  - Pictures: Icons and SmallIcons name image lists, set by the window; a row's SmallIcon is a
//    picture number of SmallIcons, 0 for none. A number the list does not have raises 35600, a
//    number other than 0 while no list is set 35613. Report view shows the small pictures only.
//  - Sorting: Sorted = true sorts the rows by the text of column SortKey (0 the row's text, n its
//    sub-item n), ascending for SortOrder 0 and descending for 1, letters compared without
//    regard to case; rows added while it is true go to their sorted place. Sorted = false leaves
//    the rows in the order they have.
//  - Selected = true on a row selects it alone; SelectedItem is null when no row is selected.
//  - Widths are in the window's twips and grow with its layout scale (DesignFont.h), as the
//    controls do. The window fits the headers and, for each column, the texts it names as the
//    ones that column must show whole (ColumnHeader::setWholeTexts: the event types a column
//    shows, say); any other text longer than its column ends in "…".
//  - Events: Click (left button released over the list), DblClick (left double click, or Enter
//    on a row), ColumnClick(position 1..n), MouseDown(button 1 left, 2 right, 4 middle; shift
//    bits as KeyDown's; x and y in twips from the control's corner) after the list has selected
//    the row under the mouse, LostFocus (Control.h). A key that selects another row (the arrows,
//    Home, End, the page keys, Space) fires Click once the row is selected, as a click on that
//    row does; selecting a row in code fires nothing.

#include "Control.h"
#include "ImageList.h"

#include <QHash>
#include <QPointer>
#include <QTreeWidgetItem>

#include <memory>
#include <optional>
#include <vector>

class QTreeWidget;

namespace platform {

class ListView;
class ListViewTree;

class ColumnHeader
{
public:
    QString Key() const { return mKey; }
    QString Text() const { return mText; }
    void setText(const QString &text);
    double Width() const;
    void setWidth(double twips);
    Alignment alignment() const { return mAlignment; }
    void setAlignment(Alignment alignment);
    int Index() const; // its position, 1..Count
    // The texts the column's cells may show that must be shown whole, whatever rows the list
    // has at the time the window is fitted.
    QStringList wholeTexts() const { return mWholeTexts; }
    void setWholeTexts(const QStringList &texts) { mWholeTexts = texts; }

private:
    friend class ColumnHeaderCollection;
    friend class ListView;
    ColumnHeader(ListView *view, const QString &key, const QString &text, Alignment alignment)
        : mView(view), mKey(key), mText(text), mAlignment(alignment)
    {
    }
    ListView *mView;
    QString mKey;
    QString mText;
    Alignment mAlignment;
    double mWidth = 0; // twips, as set
    QStringList mWholeTexts;
};

class ColumnHeaderCollection
{
public:
    // Inserts at `index` (1..Count+1; the end when not given). Rows keep their texts by column
    // number. Width in twips; 1440 when not given.
    ColumnHeader *Add(std::optional<int> index, const QString &key, const QString &text,
                      std::optional<double> width = std::nullopt,
                      Alignment alignment = Alignment::Left);
    void Clear();
    int Count() const { return static_cast<int>(mHeaders.size()); }
    ColumnHeader *Item(int index) const;

private:
    friend class ListView;
    friend class ColumnHeader;
    explicit ColumnHeaderCollection(ListView *view) : mView(view) {}
    void apply();
    ListView *mView;
    std::vector<std::unique_ptr<ColumnHeader>> mHeaders;
};

class ListItem : public QTreeWidgetItem
{
public:
    QString Key() const { return mKey; }
    QString Text() const { return text(0); }
    void setText(const QString &text);
    QString SubItems(int index) const;
    void setSubItems(int index, const QString &text);
    bool Selected() const { return isSelected(); }
    void setSelected(bool selected);
    int Icon() const { return mIcon; }
    void setIcon(int picture);
    int SmallIcon() const { return mSmallIcon; }
    void setSmallIcon(int picture);
    int Index() const; // its position, 1..Count

    QVariant data(int column, int role) const override;
    bool operator<(const QTreeWidgetItem &other) const override;

private:
    friend class ListItemCollection;
    ListItem(ListView *view, const QString &key);
    ListView *mView;
    QString mKey;
    int mIcon = 0;
    int mSmallIcon = 0;
    // Sub-item n at n - 1, kept here rather than in the tree's item, so that setting one tells
    // the view only when it may show it (see setSubItems).
    std::vector<QString> mSubItems;
};

class ListItemCollection
{
public:
    // Inserts at `index` (1..Count+1; the end when not given) and returns the new row.
    ListItem *Add(std::optional<int> index, const QString &key, const QString &text, int icon = 0,
                  int smallIcon = 0);
    void Clear();
    int Count() const;
    ListItem *Item(int index) const;
    ListItem *Item(const QString &key) const; // null when no row has the key
    void Remove(int index);

private:
    friend class ListView;
    friend class ListItem;
    explicit ListItemCollection(ListView *view) : mView(view) {}
    ListView *mView;
    QHash<QString, ListItem *> mKeys;
};

class ListView : public Control
{
    Q_OBJECT
public:
    ListView(QWidget *parent, const QString &name);
    ~ListView() override;

    ColumnHeaderCollection &ColumnHeaders() { return mColumns; }
    ListItemCollection &ListItems() { return mItems; }
    ListItem *SelectedItem() const;

    ImageList *Icons() const { return mIcons; }
    void setIcons(ImageList *list);
    ImageList *SmallIcons() const { return mSmallIcons; }
    void setSmallIcons(ImageList *list);

    int SortKey() const { return mSortKey; }
    void setSortKey(int column);
    int SortOrder() const { return mSortOrder; }
    void setSortOrder(int order); // 0 ascending, 1 descending
    bool Sorted() const { return mSorted; }
    void setSorted(bool sorted);

    QTreeWidget *tree() const;

    // Each header in its section, and each column's whole texts in its cells.
    QList<TextRoom> textRooms() const override;
    void layoutScaleChanged(double before) override;

signals:
    void Click();
    void DblClick();
    void ColumnClick(int position);
    void MouseDown(int button, int shift, double x, double y);

private:
    friend class ColumnHeader;
    friend class ColumnHeaderCollection;
    friend class ListItem;
    friend class ListItemCollection;
    friend class ListViewTree;

    void sortIfSorted();
    QVariant smallPicture(int picture) const;
    Qt::Alignment columnAlignment(int column) const;
    void checkPicture(ImageList *list, int picture) const;
    // A column's width in the window's twips <-> pixels, at the window's layout scale.
    int columnPixels(double twips, double scale) const;
    double scale() const;

    ListViewTree *mTree;
    ColumnHeaderCollection mColumns;
    ListItemCollection mItems;
    QPointer<ImageList> mIcons;
    QPointer<ImageList> mSmallIcons;
    std::vector<Qt::Alignment> mAlignments; // by column, for the rows' cells
    int mSortKey = 0;
    int mSortOrder = 0;
    bool mSorted = false;
    unsigned mHeldRepaint = 0; // the window lock in which the rows' repaint was asked for
};

} // namespace platform
