#include "ui/modal.h"

#include "ui/fieldbehaviours.h"
#include "ui/look.h"

#include <QDialog>

namespace Modal {

namespace {
Handler &testHandler()
{
    static Handler handler;
    return handler;
}
} // namespace

int show(QDialog *dialog)
{
    Look::commandsAfterFields(dialog);
    FieldBehaviours::wholeTextTips(dialog);
    if (!testHandler())
        return dialog->exec();
    dialog->setModal(true);
    dialog->show();
    testHandler()(dialog);
    if (dialog->isVisible())
        dialog->reject();
    return dialog->result();
}

void setHandlerForTesting(Handler handler)
{
    testHandler() = std::move(handler);
}

} // namespace Modal
