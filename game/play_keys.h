// Press edges of the playing screen's key controls.
//
// While a game runs, the key-repeat step of p_Game clears keyLatch in every
// update in which no direction is held, so the latch cannot stop a held
// Escape or Enter from acting again on the next update. The back control
// and the pause panel's keys therefore act only in the update in which
// their control becomes held. p_InGame samples the controls once per
// playing update; p_LoadGame counts whatever is held at the start of a game
// as already held.
#pragma once

class c_MyApp;

namespace play_keys {

// Reads the tracked controls (up, left, right, down, action 1, back) for
// this update, keeping the previous update's reading.
void Sample(c_MyApp *app);

// Counts every tracked control that is held now as held before, so none of
// them reads as newly pressed until it is released and pressed again.
void Reset(c_MyApp *app);

// True when the control is held in this update and was not held in the
// previous one. Controls that are not tracked read false.
bool Pressed(int control);

}  // namespace play_keys
