// Test helpers: a hidden window with a current OpenGL context, data-file paths and the boxes shown.
#pragma once

#include <string>

// Opens a hidden window of the given size with a current context and sets the
// view as the program does (viewport, 45-degree projection, identity modelview).
// Fails the current test when no context can be made.
bool OpenTestWindow(int width = 400, int height = 400);
void CloseTestWindow();
// One integer of OpenGL state (a GLenum name).
int GetInteger(unsigned name);

// Folder of the built program and its generated data files (build/bin).
std::string BinDir();
// A fresh empty folder under the system's temporary folder.
std::string MakeTempDir();
// Changes the current directory, returning the previous one.
std::string ChangeDir(const std::string& dir);
// The message boxes recorded since the last call, one "text|caption" line each.
std::string BoxesShown();
