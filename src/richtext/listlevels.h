#pragma once

class QTextCursor;

namespace tessary {

// Moves the list item at the cursor one level deeper (step 1) or shallower (step -1), into the
// list of the nearest earlier item at that level or a new one; false when the cursor is not
// at the start of a list item or the item cannot move that way.
bool changeListLevel(QTextCursor &cursor, int step);

} // namespace tessary
