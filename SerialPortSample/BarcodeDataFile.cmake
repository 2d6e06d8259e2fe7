# Sources of the barcode data file writer (part of vesk_serial).
target_sources(vesk_serial PRIVATE)
