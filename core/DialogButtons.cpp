#include "DialogButtons.h"

#include <QHBoxLayout>
#include <QPushButton>

DialogButtons MakeOkCancel(QWidget* dialog, const QString& prefix)
{
    DialogButtons buttons{new QPushButton("OK", dialog), new QPushButton("Cancel", dialog), new QHBoxLayout};
    buttons.ok->setObjectName(prefix + "OK");
    buttons.cancel->setObjectName(prefix + "Cancel");
    buttons.row->addStretch();
    buttons.row->addWidget(buttons.ok);
    buttons.row->addWidget(buttons.cancel);
    return buttons;
}
