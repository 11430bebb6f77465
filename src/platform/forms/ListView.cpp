#include "ListView.h"

#include "Form.h"
#include "ImageList.h"
#include "Twips.h"
#include "WindowUpdateLock.h"

#include "platform/vb/RuntimeError.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOption>
#include <QTreeWidget>

namespace platform {

namespace {

constexpr int kIndexOutOfBounds = 35600;
constexpr int kKeyNotUnique = 35602;
constexpr int kImageListNotSet = 35613;
constexpr double kDefaultColumnWidth = 1440;

[[noreturn]] void outOfBounds()
{
    vb::raise(kIndexOutOfBounds, QStringLiteral("Index out of bounds"));
}

int mouseButton(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

int shiftOf(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

} // namespace

// The inner widget: turns the view's mouse and key handling into the control's events.
class ListViewTree : public QTreeWidget
{
public:
    explicit ListViewTree(ListView *owner) : QTreeWidget(owner), mOwner(owner) {}

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        mDoubleClicked = false;
        QTreeWidget::mousePressEvent(event);
        const QPoint at = viewport()->mapTo(mOwner, event->position().toPoint());
        emit mOwner->MouseDown(mouseButton(event->button()), shiftOf(event->modifiers()),
                               pixelsToTwipsX(at.x()), pixelsToTwipsY(at.y()));
    }

    void mouseReleaseEvent(QMouseEvent *event) override
    {
        QTreeWidget::mouseReleaseEvent(event);
        // The release that ends a double click is no click of its own.
        const bool afterDoubleClick = mDoubleClicked;
        mDoubleClicked = false;
        if (event->button() == Qt::LeftButton && !afterDoubleClick)
            emit mOwner->Click();
    }

    void mouseDoubleClickEvent(QMouseEvent *event) override
    {
        QTreeWidget::mouseDoubleClickEvent(event);
        if (event->button() != Qt::LeftButton)
            return;
        mDoubleClicked = true;
        emit mOwner->DblClick();
    }

    void keyPressEvent(QKeyEvent *event) override
    {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
            mOwner->SelectedItem()) {
            emit mOwner->DblClick();
            return;
        }
        // A row chosen from the keyboard is chosen as a click on it chooses it: whatever acts on
        // "the clicked row" must follow what the user sees highlighted.
        const ListItem *before = mOwner->SelectedItem();
        QTreeWidget::keyPressEvent(event);
        const ListItem *after = mOwner->SelectedItem();
        if (after && after != before)
            emit mOwner->Click();
    }

private:
    ListView *mOwner;
    bool mDoubleClicked = false;
};

// ---------------------------------------------------------------------------------------------
// ColumnHeader

void ColumnHeader::setText(const QString &text)
{
    mText = text;
    mView->mColumns.apply();
}

double ColumnHeader::Width() const
{
    // The width set reads back as set while the column still has it in whole pixels; a column
    // the user has dragged reads as wide as it is.
    const int pixels = mView->tree()->columnWidth(Index() - 1);
    const double scale = mView->scale();
    return pixels == mView->columnPixels(mWidth, scale) ? mWidth : pixelsToTwipsX(pixels) / scale;
}

void ColumnHeader::setWidth(double twips)
{
    mWidth = twips;
    mView->tree()->setColumnWidth(Index() - 1, mView->columnPixels(twips, mView->scale()));
}

void ColumnHeader::setAlignment(Alignment alignment)
{
    mAlignment = alignment;
    mView->mColumns.apply();
}

int ColumnHeader::Index() const
{
    const auto &headers = mView->mColumns.mHeaders;
    for (std::size_t i = 0; i < headers.size(); ++i)
        if (headers[i].get() == this)
            return static_cast<int>(i) + 1;
    return 0;
}

// ---------------------------------------------------------------------------------------------
// ColumnHeaderCollection

ColumnHeader *ColumnHeaderCollection::Add(std::optional<int> index, const QString &key,
                                          const QString &text, std::optional<double> width,
                                          Alignment alignment)
{
    const int at = index.value_or(Count() + 1);
    if (at < 1 || at > Count() + 1)
        outOfBounds();
    // Widths belong to the view's columns: keep those of the columns that move right.
    QTreeWidget *tree = mView->tree();
    std::vector<int> widths;
    for (int i = 0; i < Count(); ++i)
        widths.push_back(tree->columnWidth(i));
    auto *header = new ColumnHeader(mView, key, text, alignment);
    header->mWidth = width.value_or(kDefaultColumnWidth);
    mHeaders.insert(mHeaders.begin() + (at - 1), std::unique_ptr<ColumnHeader>(header));
    widths.insert(widths.begin() + (at - 1), mView->columnPixels(header->mWidth, mView->scale()));
    apply();
    for (int i = 0; i < Count(); ++i)
        tree->setColumnWidth(i, widths[static_cast<std::size_t>(i)]);
    return header;
}

void ColumnHeaderCollection::Clear()
{
    mHeaders.clear();
    apply();
}

ColumnHeader *ColumnHeaderCollection::Item(int index) const
{
    if (index < 1 || index > Count())
        outOfBounds();
    return mHeaders[static_cast<std::size_t>(index - 1)].get();
}

void ColumnHeaderCollection::apply()
{
    QTreeWidget *tree = mView->tree();
    tree->setColumnCount(std::max(1, Count()));
    mView->mAlignments.clear();
    QTreeWidgetItem *header = tree->headerItem();
    for (int i = 0; i < Count(); ++i) {
        const ColumnHeader &h = *mHeaders[static_cast<std::size_t>(i)];
        const Qt::Alignment alignment = horizontalAlignment(h.alignment()) | Qt::AlignVCenter;
        header->setText(i, h.Text());
        header->setTextAlignment(i, alignment);
        mView->mAlignments.push_back(alignment);
    }
    // A list without columns shows no header at all rather than Qt's numbered one.
    tree->setHeaderHidden(Count() == 0);
    if (Count() == 0)
        header->setText(0, QString());
}

// ---------------------------------------------------------------------------------------------
// ListItem

ListItem::ListItem(ListView *view, const QString &key)
    : QTreeWidgetItem(QTreeWidgetItem::UserType), mView(view), mKey(key)
{
}

void ListItem::setText(const QString &text)
{
    QTreeWidgetItem::setText(0, text);
    mView->sortIfSorted();
}

QString ListItem::SubItems(int index) const
{
    if (index < 1 || index >= mView->mColumns.Count())
        vb::raise(vb::err::InvalidPropertyValue);
    return text(index);
}

void ListItem::setSubItems(int index, const QString &text)
{
    if (index < 1 || index >= mView->mColumns.Count())
        vb::raise(vb::err::InvalidPropertyValue);
    const auto at = static_cast<std::size_t>(index - 1);
    if (mSubItems.size() <= at)
        mSubItems.resize(at + 1);
    mSubItems[at] = text;
    // While its window is kept from painting (a refill under LockWindowUpdate) the change is not
    // announced row by row, three times for every row of a refill: the list asks once per lock
    // for its rows to be painted again when the lock ends.
    if (QTreeWidget *tree = treeWidget()) {
        if (tree->window()->updatesEnabled()) {
            emitDataChanged();
        } else if (mView->mHeldRepaint != lockSerial()) {
            mView->mHeldRepaint = lockSerial();
            tree->viewport()->update();
        }
    }
    if (mView->mSorted && mView->mSortKey == index)
        mView->sortIfSorted();
}

void ListItem::setSelected(bool selected)
{
    QTreeWidget *tree = treeWidget();
    if (!tree || !selected) {
        QTreeWidgetItem::setSelected(selected);
        return;
    }
    tree->setCurrentItem(this, 0, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ListItem::setIcon(int picture)
{
    mView->checkPicture(mView->mIcons, picture);
    mIcon = picture;
}

void ListItem::setSmallIcon(int picture)
{
    mView->checkPicture(mView->mSmallIcons, picture);
    mSmallIcon = picture;
    emitDataChanged();
}

int ListItem::Index() const
{
    QTreeWidget *tree = treeWidget();
    return tree ? tree->indexOfTopLevelItem(const_cast<ListItem *>(this)) + 1 : 0;
}

QVariant ListItem::data(int column, int role) const
{
    // Pictures and alignment come from the view, so that a row stores neither.
    if (role == Qt::DecorationRole && column == 0)
        return mView->smallPicture(mSmallIcon);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(mView->columnAlignment(column));
    if (column >= 1 && (role == Qt::DisplayRole || role == Qt::EditRole)) {
        const auto at = static_cast<std::size_t>(column - 1);
        return at < mSubItems.size() ? QVariant(mSubItems[at]) : QVariant();
    }
    return QTreeWidgetItem::data(column, role);
}

bool ListItem::operator<(const QTreeWidgetItem &other) const
{
    const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
    return QString::compare(text(column), other.text(column), Qt::CaseInsensitive) < 0;
}

// ---------------------------------------------------------------------------------------------
// ListItemCollection

ListItem *ListItemCollection::Add(std::optional<int> index, const QString &key, const QString &text,
                                  int icon, int smallIcon)
{
    const int at = index.value_or(Count() + 1);
    if (at < 1 || at > Count() + 1)
        outOfBounds();
    if (!key.isEmpty() && mKeys.contains(key))
        vb::raise(kKeyNotUnique, QStringLiteral("Key is not unique in collection"));
    mView->checkPicture(mView->mIcons, icon);
    mView->checkPicture(mView->mSmallIcons, smallIcon);
    auto *item = new ListItem(mView, key);
    item->QTreeWidgetItem::setText(0, text);
    item->mIcon = icon;
    item->mSmallIcon = smallIcon;
    mView->tree()->insertTopLevelItem(at - 1, item);
    if (!key.isEmpty())
        mKeys.insert(key, item);
    mView->sortIfSorted();
    return item;
}

void ListItemCollection::Clear()
{
    mKeys.clear();
    mView->tree()->clear();
}

int ListItemCollection::Count() const
{
    return mView->tree()->topLevelItemCount();
}

ListItem *ListItemCollection::Item(int index) const
{
    if (index < 1 || index > Count())
        outOfBounds();
    return static_cast<ListItem *>(mView->tree()->topLevelItem(index - 1));
}

ListItem *ListItemCollection::Item(const QString &key) const
{
    return mKeys.value(key, nullptr);
}

void ListItemCollection::Remove(int index)
{
    ListItem *item = Item(index);
    mKeys.remove(item->Key());
    delete item;
}

// ---------------------------------------------------------------------------------------------
// ListView

ListView::ListView(QWidget *parent, const QString &name)
    : Control(ControlKind::ListView, parent, name), mTree(new ListViewTree(this)), mColumns(this),
      mItems(this)
{
    mTree->setRootIsDecorated(false);
    mTree->setItemsExpandable(false);
    mTree->setUniformRowHeights(true);
    mTree->setSelectionMode(QAbstractItemView::SingleSelection);
    mTree->setSelectionBehavior(QAbstractItemView::SelectRows);
    mTree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mTree->setAllColumnsShowFocus(true);
    mTree->setSortingEnabled(false);
    mTree->header()->setSectionsMovable(false);
    mTree->header()->setSectionsClickable(true);
    mTree->header()->setStretchLastSection(false);
    mTree->setHeaderHidden(true);
    connect(mTree->header(), &QHeaderView::sectionClicked, this,
            [this](int logical) { emit ColumnClick(logical + 1); });
    setInner(mTree);
}

ListView::~ListView()
{
    // The rows call back into this view (pictures, alignment) while the tree takes them down.
    delete mTree;
}

QTreeWidget *ListView::tree() const
{
    return mTree;
}

ListItem *ListView::SelectedItem() const
{
    const QList<QTreeWidgetItem *> selected = mTree->selectedItems();
    return selected.isEmpty() ? nullptr : static_cast<ListItem *>(selected.first());
}

void ListView::setIcons(ImageList *list)
{
    mIcons = list;
}

void ListView::setSmallIcons(ImageList *list)
{
    mSmallIcons = list;
    mTree->viewport()->update();
}

void ListView::setSortKey(int column)
{
    if (column < 0)
        vb::raise(vb::err::InvalidPropertyValue);
    mSortKey = column;
    sortIfSorted();
}

void ListView::setSortOrder(int order)
{
    if (order != 0 && order != 1)
        vb::raise(vb::err::InvalidPropertyValue);
    mSortOrder = order;
    sortIfSorted();
}

void ListView::setSorted(bool sorted)
{
    mSorted = sorted;
    sortIfSorted();
}

void ListView::sortIfSorted()
{
    if (mSorted)
        mTree->sortItems(mSortKey, mSortOrder == 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
}

QVariant ListView::smallPicture(int picture) const
{
    if (picture < 1 || !mSmallIcons || picture > mSmallIcons->Count())
        return {};
    return mSmallIcons->ListImages(picture);
}

Qt::Alignment ListView::columnAlignment(int column) const
{
    if (column < 0 || column >= static_cast<int>(mAlignments.size()))
        return Qt::AlignLeft | Qt::AlignVCenter;
    return mAlignments[static_cast<std::size_t>(column)];
}

int ListView::columnPixels(double twips, double scale) const
{
    return std::max(0, twipsToPixelsX(twips * scale));
}

double ListView::scale() const
{
    return form() ? form()->layoutScale() : 1.0;
}

void ListView::layoutScaleChanged(double before)
{
    // A column keeps its width in twips, the one set or the one the user has dragged it to.
    for (int i = 0; i < mColumns.Count(); ++i) {
        const ColumnHeader &column = *mColumns.mHeaders[static_cast<std::size_t>(i)];
        const int pixels = mTree->columnWidth(i);
        const double twips = pixels == columnPixels(column.mWidth, before)
                                 ? column.mWidth
                                 : pixelsToTwipsX(pixels) / before;
        mTree->setColumnWidth(i, columnPixels(twips, scale()));
    }
}

QList<TextRoom> ListView::textRooms() const
{
    QList<TextRoom> rooms;
    if (mColumns.Count() == 0)
        return rooms;
    const QHeaderView *header = mTree->header();
    const QStyle *style = mTree->style();
    const int headerHeight = header->sizeHint().height();
    // A row is as high as its texts need; a cell's text keeps this much free on either side.
    const int textMargin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, mTree) + 1;
    for (int i = 0; i < mColumns.Count(); ++i) {
        const ColumnHeader &column = *mColumns.mHeaders[static_cast<std::size_t>(i)];
        const int width = mTree->columnWidth(i);

        QStyleOptionHeader section;
        section.initFrom(header);
        section.state |= QStyle::State_Horizontal;
        section.orientation = Qt::Horizontal;
        section.section = i;
        section.text = column.Text();
        section.textAlignment = columnAlignment(i);
        section.rect = QRect(0, 0, width, headerHeight);
        if (header->isSortIndicatorShown() && header->sortIndicatorSection() == i)
            section.sortIndicator = QStyleOptionHeader::SortDown;
        rooms.append({{column.Text()},
                      style->subElementRect(QStyle::SE_HeaderLabel, &section, header).size(),
                      header->font(),
                      false,
                      section.rect.size()});

        if (column.mWholeTexts.isEmpty())
            continue;
        QStyleOptionViewItem cell;
        cell.initFrom(mTree);
        cell.features = QStyleOptionViewItem::HasDisplay;
        cell.font = mTree->font();
        cell.displayAlignment = columnAlignment(i);
        cell.rect = QRect(0, 0, width, textSize(mTree->font(), column.Text(), false, 0).height());
        if (i == 0 && mSmallIcons) { // the row's picture stands before its text
            cell.features |= QStyleOptionViewItem::HasDecoration;
            const int icon = style->pixelMetric(QStyle::PM_SmallIconSize, nullptr, mTree);
            cell.decorationSize =
                mTree->iconSize().isValid() ? mTree->iconSize() : QSize(icon, icon);
        }
        // The style gives a text the part of the cell it takes, up to what the cell has.
        for (const QString &text : column.mWholeTexts) {
            cell.text = text;
            const QRect drawn = style->subElementRect(QStyle::SE_ItemViewItemText, &cell, mTree);
            const int height = textSize(mTree->font(), text, false, 0).height();
            rooms.append({{text},
                          QSize(drawn.width() - 2 * textMargin, height),
                          mTree->font(),
                          false,
                          QSize(width, height)});
        }
    }
    return rooms;
}

void ListView::checkPicture(ImageList *list, int picture) const
{
    if (picture == 0)
        return;
    if (!list)
        vb::raise(kImageListNotSet,
                  QStringLiteral("ImageList must be initialized before it can be used"));
    if (picture < 0 || picture > list->Count())
        outOfBounds();
}

} // namespace platform
