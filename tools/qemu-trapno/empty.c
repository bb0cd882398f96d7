/* The 64-bit programs that emulated ones start (wineserver64) inherit their LD_PRELOAD. Its
 * path holds $LIB, so they load this empty library of the same name, not an i386 one they
 * would refuse with a warning. */
void ferrule_trapno_unused(void) {}
