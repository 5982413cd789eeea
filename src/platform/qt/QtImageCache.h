#pragma once

#include <QIcon>
#include <string>
#include <unordered_map>

class ImageList;

// The pictures of an ImageList's keys: the theme icon of each key's icon name, made once
// per key. Where the theme lacks an icon, a picture of the style stands in; the blank
// design image is a transparent picture, so header texts keep their place.
class QtImageCache {
  public:
    explicit QtImageCache(const ImageList& images) : images_(images) {}

    // The picture of a key; a null icon for an unknown or empty key.
    const QIcon& icon(const std::string& key);

  private:
    QIcon make(const std::string& key) const;
    static QIcon fallback(const std::string& iconName);

    const ImageList& images_;
    std::unordered_map<std::string, QIcon> cache_;
};
