#pragma once

// An image list: pictures numbered from 1 in the order they were added, each with an optional
// key. Nothing of it is seen on the window; list views and toolbars take their pictures from it.
// A bad number raises 35600 "Index out of bounds", an unknown key 35601 "Element not found".

#include <QIcon>
#include <QList>
#include <QObject>
#include <QString>

namespace platform {

class ImageList : public QObject
{
    Q_OBJECT
public:
    ImageList(QObject *parent, const QString &name);

    // ListImages.Add: returns the new picture's number.
    int Add(const QString &key, const QIcon &picture);
    int Count() const { return static_cast<int>(mImages.size()); }
    QIcon ListImages(int index) const;
    QIcon ListImages(const QString &key) const;
    // The picture's number, or 0 when no picture has that key.
    int IndexOf(const QString &key) const;
    QString Key(int index) const;

private:
    struct Entry
    {
        QString key;
        QIcon picture;
    };
    const Entry &at(int index) const;
    QList<Entry> mImages;
};

} // namespace platform
