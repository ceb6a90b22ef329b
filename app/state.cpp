/* The program's one state record, holding its load values when the process starts. */
#include "velmora.h"

/* The fields after rowCount start as zeros and empty texts. */
FONTVIEWSTATE FontViewState = {
    OPAQUE,                 /* bkMode */
    RGB(255, 255, 255),     /* bkColor */
    RGB(128, 0, 0),         /* eraseColor */
    TRUE,                   /* showBaseline */
    16,                     /* charsPerRow */
    16,                     /* rowCount */
};
