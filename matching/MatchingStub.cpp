// Placeholder until matching lands.
