#pragma once

#include <QString>

// Program-wide state that several windows share.
namespace app {

// True while lists are being refilled, so that moving in the job grid does not
// move the order list; the printer dialog also leaves its OK result here for
// the printout that opened it.
extern bool SuppressListSync;

// The account code of the customer of the last saved survey or service
// entry; empty until one is saved. The main window moves its order list to
// this customer when the entry dialog closes.
extern QString LastCustomerCode;

} // namespace app
