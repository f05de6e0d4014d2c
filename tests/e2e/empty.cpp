// The start-up floor: a GUI exe from the same toolchain that does nothing.
int main() { return 0; }
