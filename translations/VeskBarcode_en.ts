<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>JobChecklistView</name>
    <message numerus="yes">
        <source>about %n min left</source>
        <translation>
            <numerusform>about %n min left</numerusform>
            <numerusform>about %n min left</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>about %n s left</source>
        <translation>
            <numerusform>about %n s left</numerusform>
            <numerusform>about %n s left</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n photo(s) listed</source>
        <translation>
            <numerusform>%n photo listed</numerusform>
            <numerusform>%n photos listed</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 (%n without a date)</source>
        <translation>
            <numerusform>%1 (%n without a date)</numerusform>
            <numerusform>%1 (%n without a date)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Scanner %1 found: %n scan(s)</source>
        <translation>
            <numerusform>Scanner %1 found: %n scan</numerusform>
            <numerusform>Scanner %1 found: %n scans</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n scan(s) downloaded</source>
        <translation>
            <numerusform>%n scan downloaded</numerusform>
            <numerusform>%n scans downloaded</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n photo(s)</source>
        <translation>
            <numerusform>%n photo</numerusform>
            <numerusform>%n photos</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n scan(s)</source>
        <translation>
            <numerusform>%n scan</numerusform>
            <numerusform>%n scans</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n doubtful photo(s)</source>
        <translation>
            <numerusform>%n doubtful photo</numerusform>
            <numerusform>%n doubtful photos</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n barcode(s) without photos</source>
        <translation>
            <numerusform>%n barcode without photos</numerusform>
            <numerusform>%n barcodes without photos</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>BarcodeChooser</name>
    <message numerus="yes">
        <source>%n photo(s)</source>
        <translation>
            <numerusform>%n photo</numerusform>
            <numerusform>%n photos</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ReviewModel</name>
    <message numerus="yes">
        <source>%n photo(s)</source>
        <translation>
            <numerusform>%n photo</numerusform>
            <numerusform>%n photos</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Move %n photo(s) to %1</source>
        <translation>
            <numerusform>Move %n photo to %1</numerusform>
            <numerusform>Move %n photos to %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Move %n photo(s) to the barcode before</source>
        <translation>
            <numerusform>Move %n photo to the barcode before</numerusform>
            <numerusform>Move %n photos to the barcode before</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Move %n photo(s) to the barcode after</source>
        <translation>
            <numerusform>Move %n photo to the barcode after</numerusform>
            <numerusform>Move %n photos to the barcode after</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ReviewTexts</name>
    <message numerus="yes">
        <source>%n day(s)</source>
        <comment>a length of time</comment>
        <translation>
            <numerusform>%n day</numerusform>
            <numerusform>%n days</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n scan(s) fit</source>
        <translation>
            <numerusform>%1 of %n scan fits</numerusform>
            <numerusform>%1 of %n scans fit</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>only %n scan(s)</source>
        <translation>
            <numerusform>only %n scan</numerusform>
            <numerusform>only %n scans</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n photo(s)</source>
        <translation>
            <numerusform>%n photo</numerusform>
            <numerusform>%n photos</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n barcode(s)</source>
        <translation>
            <numerusform>%n barcode</numerusform>
            <numerusform>%n barcodes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n doubtful</source>
        <comment>photos</comment>
        <translation>
            <numerusform>%n doubtful</numerusform>
            <numerusform>%n doubtful</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n barcode(s) without photos</source>
        <translation>
            <numerusform>%n barcode without photos</numerusform>
            <numerusform>%n barcodes without photos</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n barcode(s) with far more photos than usual</source>
        <translation>
            <numerusform>%n barcode with far more photos than usual</numerusform>
            <numerusform>%n barcodes with far more photos than usual</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n scan(s) after the last photo</source>
        <translation>
            <numerusform>%n scan after the last photo</numerusform>
            <numerusform>%n scans after the last photo</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ReviewWindow</name>
    <message numerus="yes">
        <source>Barcode %1: %n photo(s)</source>
        <translation>
            <numerusform>Barcode %1: %n photo</numerusform>
            <numerusform>Barcode %1: %n photos</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n photo(s) moved</source>
        <translation>
            <numerusform>%n photo moved</numerusform>
            <numerusform>%n photos moved</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Move %n photo(s)</source>
        <translation>
            <numerusform>Move %n photo</numerusform>
            <numerusform>Move %n photos</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Matching again with other clocks puts every photo where the new clocks say and discards your %n move(s). Undo brings them back.</source>
        <translation>
            <numerusform>Matching again with other clocks puts every photo where the new clocks say and discards your %n move. Undo brings it back.</numerusform>
            <numerusform>Matching again with other clocks puts every photo where the new clocks say and discards your %n moves. Undo brings them back.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>You matched the shoot again with other clocks and moved %n photo(s).</source>
        <translation>
            <numerusform>You matched the shoot again with other clocks and moved %n photo.</numerusform>
            <numerusform>You matched the shoot again with other clocks and moved %n photos.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>You moved %n photo(s).</source>
        <translation>
            <numerusform>You moved %n photo.</numerusform>
            <numerusform>You moved %n photos.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Discard %n Move(s)</source>
        <translation>
            <numerusform>Discard %n Move</numerusform>
            <numerusform>Discard %n Moves</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Your %n move(s) are discarded; the matched list keeps the matches found automatically.</source>
        <translation>
            <numerusform>Your %n move is discarded; the matched list keeps the matches found automatically.</numerusform>
            <numerusform>Your %n moves are discarded; the matched list keeps the matches found automatically.</numerusform>
        </translation>
    </message>
</context>
</TS>
