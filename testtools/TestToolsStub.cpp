// Placeholder until the test tools land.
