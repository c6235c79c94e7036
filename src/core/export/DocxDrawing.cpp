#include "core/export/DocxDrawing.h"

#include "core/export/DocxNames.h"
#include "core/export/DocxNodes.h"

namespace dorvane::docx {

namespace {

void setNumber(pugi::xml_node element, const char *name, long value)
{
    pugi::xml_attribute attribute = element.attribute(name);
    if (!attribute)
        attribute = element.append_attribute(name);
    attribute = std::to_string(value).c_str();
}

pugi::xml_node appendExtent(pugi::xml_node parent, const char *name, long cx, long cy)
{
    pugi::xml_node extent = parent.append_child(name);
    setNumber(extent, "cx", cx);
    setNumber(extent, "cy", cy);
    return extent;
}

void appendPicture(pugi::xml_node graphicData, const PictureRef &picture, const std::string &name)
{
    pugi::xml_node pic = graphicData.append_child("pic:pic");
    pic.append_attribute("xmlns:pic") = PictureNs;
    pugi::xml_node nv = pic.append_child("pic:nvPicPr");
    pugi::xml_node cNvPr = nv.append_child("pic:cNvPr");
    cNvPr.append_attribute("id") = 0;
    cNvPr.append_attribute("name") = name.c_str();
    nv.append_child("pic:cNvPicPr");
    pugi::xml_node fill = pic.append_child("pic:blipFill");
    fill.append_child("a:blip").append_attribute("r:embed") = picture.relationshipId.c_str();
    fill.append_child("a:stretch").append_child("a:fillRect");
    pugi::xml_node shape = pic.append_child("pic:spPr");
    pugi::xml_node xfrm = shape.append_child("a:xfrm");
    pugi::xml_node off = xfrm.append_child("a:off");
    off.append_attribute("x") = 0;
    off.append_attribute("y") = 0;
    appendExtent(xfrm, "a:ext", picture.width, picture.height);
    pugi::xml_node geometry = shape.append_child("a:prstGeom");
    geometry.append_attribute("prst") = "rect";
    geometry.append_child("a:avLst");
}

// The picture's transform extent, where its drawing has one.
pugi::xml_node transformExtent(pugi::xml_node inlineDrawing)
{
    for (pugi::xml_node ext : descendantsNamed(inlineDrawing, "a:ext"))
        if (isNamed(ext.parent(), "a:xfrm"))
            return ext;
    return {};
}

bool setSize(pugi::xml_node inlineDrawing, const char *name, long emu)
{
    pugi::xml_node extent = inlineDrawing.child("wp:extent");
    if (!isNamed(inlineDrawing, "wp:inline") || !extent)
        return false;
    setNumber(extent, name, emu);
    if (pugi::xml_node ext = transformExtent(inlineDrawing))
        setNumber(ext, name, emu);
    return true;
}

} // namespace

pugi::xml_node insertPicture(pugi::xml_node paragraph, pugi::xml_node after,
                             const PictureRef &picture)
{
    pugi::xml_node run;
    if (after)
        run = paragraph.insert_child_after("w:r", after);
    else if (pugi::xml_node pPr = paragraph.child("w:pPr"))
        run = paragraph.insert_child_after("w:r", pPr);
    else
        run = paragraph.prepend_child("w:r");
    const std::string name = "Picture " + std::to_string(picture.drawingId);

    pugi::xml_node drawing = run.append_child("w:drawing").append_child("wp:inline");
    for (const char *distance : {"distT", "distB", "distL", "distR"})
        drawing.append_attribute(distance) = 0;
    appendExtent(drawing, "wp:extent", picture.width, picture.height);
    pugi::xml_node effect = drawing.append_child("wp:effectExtent");
    for (const char *side : {"l", "t", "r", "b"})
        effect.append_attribute(side) = 0;
    pugi::xml_node docPr = drawing.append_child("wp:docPr");
    docPr.append_attribute("id") = picture.drawingId;
    docPr.append_attribute("name") = name.c_str();
    pugi::xml_node locks =
        drawing.append_child("wp:cNvGraphicFramePr").append_child("a:graphicFrameLocks");
    locks.append_attribute("xmlns:a") = GraphicNs;
    locks.append_attribute("noChangeAspect") = 1;
    pugi::xml_node graphic = drawing.append_child("a:graphic");
    graphic.append_attribute("xmlns:a") = GraphicNs;
    pugi::xml_node data = graphic.append_child("a:graphicData");
    data.append_attribute("uri") = PictureNs;
    appendPicture(data, picture, name);
    return drawing;
}

bool setPictureWidth(pugi::xml_node inlineDrawing, long emu)
{
    return setSize(inlineDrawing, "cx", emu);
}

bool setPictureHeight(pugi::xml_node inlineDrawing, long emu)
{
    return setSize(inlineDrawing, "cy", emu);
}

} // namespace dorvane::docx
