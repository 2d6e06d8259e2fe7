// Placeholder until the scanner simulator lands.
int main() { return 0; }
