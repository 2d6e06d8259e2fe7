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
    <name>ReviewModel</name>
    <message numerus="yes">
        <source>%n photo(s)</source>
        <translation>
            <numerusform>%n photo</numerusform>
            <numerusform>%n photos</numerusform>
        </translation>
    </message>
</context>
</TS>
