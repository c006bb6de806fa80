#include "app/SharedState.h"

namespace app {
bool SuppressListSync = false;
QString LastCustomerCode;
}
