/* The Ogg Vorbis decoder's implementation, compiled here and nowhere else.
 * Files reach it only after their headers have passed CheckOggHeaders. */
#include "stb_vorbis.h"
