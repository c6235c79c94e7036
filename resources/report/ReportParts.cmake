# The parts of a report template, in the order they are packed: the content
# types first, as word processors write them.
set(REPORT_TEMPLATE_PARTS
    "[Content_Types].xml"
    _rels/.rels
    word/document.xml
    word/styles.xml
    word/settings.xml
    word/fontTable.xml
    word/_rels/document.xml.rels
    docProps/core.xml
    docProps/app.xml
)
