list(APPEND PIKSOR_CORE_SOURCES
  src/thumbs/ThumbRules.h src/thumbs/ThumbRules.cpp
  src/thumbs/ThumbMoves.h src/thumbs/ThumbMoves.cpp
  src/thumbs/CacheRules.h src/thumbs/CacheRules.cpp
  src/thumbs/PngText.h src/thumbs/PngText.cpp
  src/thumbs/PngWrite.h src/thumbs/PngWrite.cpp
  src/thumbs/CacheFiles.h src/thumbs/CacheFiles.cpp
  src/thumbs/ThumbCache.h src/thumbs/ThumbCache.cpp
  src/thumbs/ThumbSources.h src/thumbs/ThumbSources.cpp
  src/thumbs/ThumbDecoder.h src/thumbs/ThumbDecoder.cpp
  src/thumbs/ThumbWidgets.h src/thumbs/ThumbWidgets.cpp
  src/thumbs/ThumbDrag.h src/thumbs/ThumbDrag.cpp
  src/thumbs/frmPreview.h src/thumbs/frmPreview.cpp
  src/thumbs/frmPreview_list.cpp
  src/thumbs/frmPreview_layout.cpp
  src/thumbs/frmPreview_select.cpp
  src/thumbs/frmPreview_keys.cpp
  src/thumbs/frmMain_thumbs.cpp
)
