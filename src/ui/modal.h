#pragma once

#include <functional>

class QDialog;

// Shows a dialog modally and returns its result. Tests replace the modal loop
// with code that works on the dialog while it is open; the dialog is closed
// (rejected) afterwards if that code left it open.
namespace Modal {

int show(QDialog *dialog);

using Handler = std::function<void(QDialog *dialog)>;
// While a handler is set, show() opens the dialog without a modal loop and
// hands it to the handler. An empty function restores the real loop.
void setHandlerForTesting(Handler handler);

} // namespace Modal
