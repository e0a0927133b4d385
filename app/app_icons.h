#pragma once

#include <QIcon>

// The program icon in every size it is drawn in: from the icon theme when one provides
// it, else the images built into the program.
QIcon ProgramIcon();

// The toolbar image of a command (ID_FILE_NEWFOLDER or ID_APP_ABOUT); a null icon for others.
QIcon CommandIcon(int id);
