// Placeholder until the sample host lands.
int main() { return 0; }
