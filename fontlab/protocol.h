/* The sweep program's lines on its standard output, one for each event, each flushed at once:
   the program (fontsweep.cpp) prints them with these formats, and fontlab/sweep reads them by
   the same (protocol.py reads this file). */
#ifndef FONTLAB_PROTOCOL_H
#define FONTLAB_PROTOCOL_H

/* Lines whose fields the sweep reads. */
#define LINE_FACE     "FACE %u %s\n"                    /* a face to sweep: number, name (UTF-8) */
#define LINE_SETTINGS "SETTINGS %ld per-face %u\n"      /* settings in all, and for each face */
#define LINE_BEGIN    "BEGIN %ld face=%u %s draw=%s\n"  /* a setting: index, face, fields, drawing */
#define LINE_END      "END %ld %.0f ms\n"               /* the setting lived: index, time */
#define LINE_DONE     "DONE\n"                          /* every setting asked for lived */

/* Free text after the word: the step of the setting under way, and (with --trace) the font call
   about to be made; the last before a death name its place. */
#define LINE_PHASE    "PHASE "
#define LINE_CALL     "CALL "

#endif
