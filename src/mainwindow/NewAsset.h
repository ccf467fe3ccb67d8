#pragma once

#include <QString>

class ListView;

// The key of the newest asset ("" when there is none). Keys only grow, so an asset added
// later has a larger key.
QString NewestAssetKey();

// Selects the asset `key` in the list and scrolls it into view. When a find or the due view
// hides it, they are cleared first, so that the asset shows. Does nothing for an empty key or
// an asset the list does not hold.
void ShowAsset(ListView& list, const QString& key);
