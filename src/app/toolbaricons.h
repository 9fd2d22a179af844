#pragma once

#include <QIcon>
#include <QString>

namespace tessary {

// The tool-bar pictures, painted by the program itself so that they show on any desktop,
// whatever icon theme it has. `name` is the objectName of the command or button; a name
// without a picture gives a null icon. The whitespace button's icon has an "on" state.
QIcon toolBarIcon(const QString &name);

} // namespace tessary
