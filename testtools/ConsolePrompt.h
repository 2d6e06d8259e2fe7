// Questions asked on the terminal by the console self-tests.
#pragma once

#include <cstdio>

// Writes prompt to standard output, reads one character from standard input, writes three line
// ends, and returns true when the character is "y" or "Y". The rest of the answer's line is read
// and dropped, so the next question reads a fresh answer. End of input is a "no".
bool doPromptToContinue(const char* prompt);
// The same on the given streams.
bool doPromptToContinue(const char* prompt, FILE* input, FILE* output);
