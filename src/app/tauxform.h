#pragma once

#include <QWidget>

namespace tessary {

class RichEdit;

// A hidden form holding `AuxEditor`, a scratch document the size of the main editor.
class TAuxForm : public QWidget {
    Q_OBJECT
public:
    explicit TAuxForm(const RichEdit *mainEditor, QWidget *parent = nullptr);
    RichEdit *AuxEditor = nullptr;
};

} // namespace tessary
