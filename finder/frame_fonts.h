// The seven window fonts of the finder's frame ("Font01" ... "Font07" under
// "Fndr"; main_frame_fonts.cpp).
#pragma once

class CMainFrame;

// Gives each of `frame`'s windows its stored font, or the default of its
// slot; called once when the frame is built.
void ApplyFrameFonts(CMainFrame& frame);
// "Pisave...": the seven window fonts in the fonts dialog; when the user
// confirms, each is stored and set at once on every window it belongs to,
// result windows included.
void ChooseFrameFonts(CMainFrame& frame);
