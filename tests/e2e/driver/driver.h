// The end-to-end driver in one include: start the program, read and drive its main window,
// check and answer its message boxes, take screenshots.
#pragma once

#include "driver/boxes.h"
#include "driver/errors.h"
#include "driver/image.h"
#include "driver/process.h"
#include "driver/remote.h"
#include "driver/wait.h"
#include "driver/window.h"
