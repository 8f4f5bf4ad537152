#include "uikit/Guard.h"

#include "helpers/AppError.h"
#include "uikit/Dialogs.h"

bool runGuarded(const std::function<void()>& work)
{
    try {
        work();
        return true;
    } catch (const AppError& e) {
        showErrorReport(e.text());
    } catch (const std::exception& e) {
        showErrorReport(QString::fromLocal8Bit(e.what()));
    }
    return false;
}
