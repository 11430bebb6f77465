#include "ImageList.h"

#include "platform/vb/RuntimeError.h"

namespace platform {

namespace {
constexpr int kIndexOutOfBounds = 35600;
constexpr int kElementNotFound = 35601;
} // namespace

ImageList::ImageList(QObject *parent, const QString &name) : QObject(parent)
{
    setObjectName(name);
}

int ImageList::Add(const QString &key, const QIcon &picture)
{
    mImages.append({key, picture});
    return Count();
}

const ImageList::Entry &ImageList::at(int index) const
{
    if (index < 1 || index > Count())
        vb::raise(kIndexOutOfBounds, QStringLiteral("Index out of bounds"));
    return mImages.at(index - 1);
}

QIcon ImageList::ListImages(int index) const
{
    return at(index).picture;
}

QIcon ImageList::ListImages(const QString &key) const
{
    const int index = IndexOf(key);
    if (index == 0)
        vb::raise(kElementNotFound, QStringLiteral("Element not found"));
    return at(index).picture;
}

int ImageList::IndexOf(const QString &key) const
{
    if (key.isEmpty())
        return 0;
    for (int i = 0; i < Count(); ++i)
        if (mImages.at(i).key == key)
            return i + 1;
    return 0;
}

QString ImageList::Key(int index) const
{
    return at(index).key;
}

} // namespace platform
