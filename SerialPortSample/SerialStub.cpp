// Placeholder until the serial port lands.
