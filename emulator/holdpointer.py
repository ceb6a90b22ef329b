#!/usr/bin/env python3
"""Holds the pointer of the emulated device's X server, as a touch screen has none.

Wine moves X's pointer to every position that a program's injected input gives, and X then
reports that move back to Wine, which passes it to the program as input of its own. The
report can come after the next injected click has begun and split it: a drop-down list
scrolled under the stylus, a click lost. Held here, the pointer is never moved (Wine refuses
to move a pointer it cannot grab) and X reports no pointer events to Wine, so programs get
exactly the input given to them, as on the device. Prints "held" once the grab is in place.

In Wine 8.0's winex11.drv, X11DRV_SetCursorPos moves X's pointer for injected input, and
X11DRV_MotionNotify drops the motion of its own move only for an event on no window of Wine's.
Smallest case: a click injected on a drop-down combo box's arrow, then one on an item of the
list once it shows: the list gets a WM_MOUSEMOVE at the arrow between the item's button down
and up, scrolls one item up, and the button up picks the item above.
"""
import ctypes
import os
import sys

x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XGrabPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_uint, ctypes.c_int,
                             ctypes.c_int, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]

GRAB_MODE_ASYNC, GRAB_SUCCESS, NONE, CURRENT_TIME = 1, 0, 0, 0

display = x11.XOpenDisplay(None)
if not display:
    sys.exit("holdpointer: no X display")
root = x11.XDefaultRootWindow(display)
if x11.XGrabPointer(display, root, False, 0, GRAB_MODE_ASYNC, GRAB_MODE_ASYNC, NONE, NONE,
                    CURRENT_TIME) != GRAB_SUCCESS:
    sys.exit("holdpointer: the pointer is held by another client")
x11.XSync(display, False)
print("held", flush=True)

# Held while the server lives: it goes at the end of the emulator's run, and so does this.
@ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p)
def server_gone(_display):
    os._exit(0)


x11.XSetIOErrorHandler(server_gone)
event = ctypes.create_string_buffer(192)
while True:
    x11.XNextEvent(display, event)
