#include "shell/Main.h"

int main() { return 0; }
