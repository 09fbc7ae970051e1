// The configuration changes a mouse button asks for, carried out on the window's thread, which
// owns the configuration: the DPI step, the LED toggle and the switch to the next configuration.
#pragma once

#include "actions/host_request.h"
#include "app/apply_configuration.h"

// The stage steps by direction (2 cycle, 1 up, -1 down) among the enabled ones, goes to the
// mouse with the LED as the toggle left it, and is saved to the current slot.
void StepDpi(ApplyContext& context, int direction);
// The LED goes off, or back to the applied mode when the toggle had switched it off.
void ToggleLed(ApplyContext& context);
// The next user slot (after 5, or any slot outside 1..4, slot 1) is loaded and applied.
void SwitchConfiguration(ApplyContext& context);

void CarryOut(ApplyContext& context, HostRequest request);
