// Draws the four 16-pixel row images into an image list: passed, failed, warning, running.
#pragma once
#include "ImageList.h"

void AddStatusImages(TImageList& images);
