#pragma once

class QWidget;

// Gives assistive tools what the windows mean: the link labels are links
// that a screen reader can press. Installs once; later calls do nothing.
void installAccessibleInterfaces();

// Lists only the children of `container` that can be shown to assistive
// tools: a container that holds a hidden stand-in (the button behind the
// group list, the one behind the find toolbar) keeps it out of their tree.
// To be called before the container is first shown.
void listShownChildrenOnly(QWidget &container);
