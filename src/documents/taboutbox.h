#pragma once

#include <QDialog>

namespace tessary {

// The about box: the program's name and version, and a link to the help page.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget *parent = nullptr);
};

} // namespace tessary
