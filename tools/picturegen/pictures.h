#pragma once

#include "painting.h"

#include <QVector>

// Languages the sample product ships pictures for.
QStringList shippedLanguages();

// Banner (banner_pic/<lang>.png) and promotion (promotion_pic/<lang>.png) pictures, file names
// in lower case as the wizard asks for them, without any figure that could contradict the
// discount the wizard shows; the remote set carries a "REMOTE" tag.
QVector<Picture> offerPictures(bool remote);

// Recommended-app icons (recAppIcon/<name>.png, drawn at twice the size a card shows).
QVector<Picture> appIcons();

// Title logo and application icon (logo.png, app_icon.png).
QVector<Picture> brandIcons();

// Skin pictures, relative to the skin's images folder: card backgrounds, loading frames, page
// illustrations, the offer sticker, check boxes, title and pager buttons, feature icons.
QVector<Picture> skinPictures();
QVector<Picture> cardBackgrounds();
QVector<Picture> loadingFrames();
QVector<Picture> stickerPicture();
