#pragma once

// Waits that keep the program responsive: other window events go on being
// handled while the program waits. Tests switch the waiting off, so a test
// never sleeps.
namespace app {

void PauseProcessingEvents(int milliseconds);
void SetPausesForTesting(bool enabled);

} // namespace app
