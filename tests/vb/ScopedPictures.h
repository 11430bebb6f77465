#pragma once

#include "platform/vb/Locale.h"

// Puts another locale's pictures in force for one test and the previous ones back after it.
class ScopedPictures
{
public:
    explicit ScopedPictures(const char *localeName) : mSaved(vb::userPictures())
    {
        vb::setUserPictures(vb::picturesFor(QLocale(QString::fromLatin1(localeName))));
    }
    ~ScopedPictures() { vb::setUserPictures(mSaved); }
    ScopedPictures(const ScopedPictures &) = delete;
    ScopedPictures &operator=(const ScopedPictures &) = delete;

private:
    vb::LocalePictures mSaved;
};
