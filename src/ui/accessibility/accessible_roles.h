#pragma once

namespace ui {

// Makes the accessible objects Qt would not get right by itself: the top-level windows as
// frames and dialogs rather than fillers, and the labels that show a result (the link quality,
// the connection verdict, the counts, the terminal's connection caption) as status texts whose
// name joins their caption and what they show now. Qt announces a change of such a label's
// name itself. Safe to call more than once.
void InstallAccessibleRoles();

}  // namespace ui
