#include "app/ScreenSize.h"

bool screenSizeFits(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxScreenSide && height <= kMaxScreenSide;
}
