#ifndef GLOBALS_H
#define GLOBALS_H

class MySocket;

// The one UDP endpoint, created by the main window.
extern MySocket *g_mySocket;

#endif // GLOBALS_H
