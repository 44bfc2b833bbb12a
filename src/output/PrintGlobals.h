#pragma once

// Lengths of the print setup window: the sheet layout works in points (72 per inch), the
// window shows millimetres.

// Millimetres and points as the window converts them.
float Points_to_MM_Convert(float points);
float MM_to_Points_Convert(float millimetres);
