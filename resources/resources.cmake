# Everything compiled into the program besides code: one line per resource, giving its type
# name, its integer id and its file below resources/. The Windows build turns the list into
# real resources, the Linux build into a table (type names compare case-insensitively).
set(DRIFTGLASS_RESOURCES
  "ICON 102 pictures/icon.ico"
  "S3TC 119 pictures/backdrop.s3tc"
  "S3TC 120 pictures/sea.s3tc"
  "S3TC 121 pictures/near_cliff.s3tc"
  "S3TC 122 pictures/near_cliff_mask.s3tc"
  "BITMAP 125 pictures/banner.bmp"
  "SHADERS 105 shaders/belly.frag"
  "SHADERS 106 shaders/scale.frag"
  "SHADERS 107 shaders/eyes.frag"
  "SHADERS 108 shaders/horns.frag"
  "SHADERS 109 shaders/ribbon.vert"
  "SHADERS 110 shaders/stalk.frag"
  "SHADERS 111 shaders/ribbon_scaled.vert"
  "SHADERS 112 shaders/flower.vert"
  "SHADERS 113 shaders/flower.frag"
  "SHADERS 114 shaders/bud.frag"
  "SHADERS 115 shaders/bud.vert"
  "SoundSamples 116 sounds/ambient.pcm"
  "SoundSamples 117 sounds/wings.pcm"
)
