// Placeholder until the image list lands.
