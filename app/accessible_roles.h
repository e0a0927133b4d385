#pragma once

// Tells screen readers what the program's own widgets are: the graph's plot and the calendar charts, the view
// bar a group of radio buttons, its own windows frames; and leaves out the tool bars' hidden
// overflow buttons. Once, before the first window is shown.
void InstallAccessibleRoles();
