#pragma once

// Name spaces and relationship types of word-processing packages.
namespace dorvane::docx {

inline constexpr char MainNs[] = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
inline constexpr char DrawingNs[] =
    "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing";
inline constexpr char RelationshipNs[] =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
inline constexpr char GraphicNs[] = "http://schemas.openxmlformats.org/drawingml/2006/main";
inline constexpr char PictureNs[] = "http://schemas.openxmlformats.org/drawingml/2006/picture";
inline constexpr char OfficeDocumentRelType[] =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument";
inline constexpr char ImageRelType[] =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/image";

// English Metric Units: 914400 an inch, 72 points an inch.
inline constexpr long EmuPerPoint = 12700;
// A picture's pixels at the screen's 96 dots an inch.
inline constexpr long EmuPerPixel = 9525;

} // namespace dorvane::docx
