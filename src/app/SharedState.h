#pragma once

// Program-wide state that several windows share.
namespace app {

// True while lists are being refilled, so that moving in the job grid does not
// move the order list; the printer dialog also leaves its OK result here for
// the printout that opened it.
extern bool SuppressListSync;

} // namespace app
