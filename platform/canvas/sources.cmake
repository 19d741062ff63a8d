# Raster canvas sources, relative to platform/.
list(APPEND PANEL_CANVAS_SOURCES
  canvas/bitmap.cpp
  canvas/pixel_ops.cpp
  canvas/region.cpp
  canvas/region_ops.cpp
  canvas/ellipse_rows.cpp
  canvas/line_walk.cpp
  canvas/span_painter.cpp
  canvas/canvas.cpp
  canvas/canvas_lines.cpp
  canvas/canvas_shapes.cpp
  canvas/canvas_flood_fill.cpp
  canvas/canvas_text.cpp
  canvas/canvas_blit.cpp
  canvas/bmp_reader.cpp
  canvas/bmp_writer.cpp
  canvas/png_writer.cpp
  canvas/demo_picture.cpp
)
