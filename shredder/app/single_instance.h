#pragma once

// Takes the instance mutex. False when another windowed instance holds it.
// The handle is kept until the process ends.
bool ClaimSingleInstance();
