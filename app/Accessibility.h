#pragma once

// Gives assistive tools what the windows mean: the link labels are links
// that a screen reader can press, and a plain container lists only the
// controls that can be shown (the hidden buttons that stand behind the group
// list and the find toolbar stay out). Installs once; later calls do nothing.
void installAccessibleInterfaces();
