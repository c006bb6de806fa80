#include "app/SafeApplication.h"

#include "app/Prompt.h"
#include "store/StoreError.h"

namespace app {

bool SafeApplication::notify(QObject* receiver, QEvent* event)
{
    return DeliverSafely([&] { return QApplication::notify(receiver, event); });
}

bool SafeApplication::DeliverSafely(const std::function<bool()>& deliver)
{
    try {
        return deliver();
    } catch (const store::StoreError& e) {
        Prompt::Message(nullptr, e.message(), {}, MessageIcon::Warning);
    } catch (const std::exception& e) {
        Prompt::Message(nullptr, QStringLiteral("Beklenmeyen bir hata oluştu; işlem yarıda kaldı.\n\n%1")
                                     .arg(QString::fromLocal8Bit(e.what())),
                        {}, MessageIcon::Critical);
    }
    return false;
}

} // namespace app
