# Copies what the show reads from a build's Data/ folder into DESTINATION/Data
# (cmake -DSOURCE=... -DDESTINATION=... -DPATTERNS=... -P CopyRunData.cmake).
file(COPY ${SOURCE} DESTINATION ${DESTINATION} FILES_MATCHING ${PATTERNS})
