# Sources of the barcode data file writer (part of vesk_serial).
target_sources(vesk_serial PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/barcodeRecord.cpp
  ${CMAKE_CURRENT_LIST_DIR}/barcodeDataFileMgr.cpp)
