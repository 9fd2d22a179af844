#pragma once

#include <QObject>

class QWidget;

namespace tessary {

class TAboutBox;

// The Help menu: the help pages in the desktop's browser, and the about box.
class HelpCommands : public QObject {
    Q_OBJECT
public:
    explicit HelpCommands(QWidget *window, QObject *parent = nullptr);

    void HelpContents();
    void HelpAbout();

private:
    QWidget *m_window;
    TAboutBox *m_about = nullptr;
};

} // namespace tessary
