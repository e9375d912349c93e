#pragma once

#include <QIcon>

namespace zelmar::ui {

// The two pictures of the notification icon and the window: the program's own while idle,
// the busy one (Image1) while a job runs. Drawn, so no image file has to travel with the
// program.
QIcon IdlePicture();
QIcon BusyPicture();

}  // namespace zelmar::ui
