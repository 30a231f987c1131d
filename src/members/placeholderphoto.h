#pragma once

#include <QImage>

// The neutral head-and-shoulders silhouette (307 x 394) that stands wherever a
// member has no photo: shown on the card, written as the member's photo file,
// printed.
QImage placeholderPhoto();
