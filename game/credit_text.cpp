// The credits text: 39 lines, the last one ("End") never scrolled into view.
#include "game/credit_text.h"

// ---------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------

namespace {

const char *const kAuthor = "the Tesselon team";

const char *const kLines[kCreditLines] = {
    "",
    "A Game by",
    kAuthor,
    "made with care",
    "",
    "-=-=-",
    "",
    "Developed using",
    "Vantix",
    "a small game runtime",
    "",
    "-=-=-",
    "",
    "Graphics",
    "",
    "Most graphics by",
    kAuthor,
    "",
    "Font : EditUndo",
    "by its original designer",
    "Lowercase added by",
    kAuthor,
    "",
    "",
    "-=-=-",
    "",
    "Audio",
    "",
    "Sound and Music by",
    kAuthor,
    "using FLStudio,",
    "SFXr",
    "Cool Edit",
    "or whatever else",
    "was handy!",
    "",
    "",
    "-=-=-",
    "End",
};

}  // namespace

// ---------------------------------------------------------------------------
// Functions
// ---------------------------------------------------------------------------

Array<String> bb_credits_Text() {
    Array<String> text(kCreditLines);
    for (int i = 0; i < kCreditLines; ++i) text[i] = String(kLines[i]);
    return text;
}
