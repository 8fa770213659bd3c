# The absorption spectroscope: the same fan as the emission spectroscope's,
# after the white light has crossed the permanganate solution, so that the
# band it absorbs is missing from the fan as from the spectrum under it.
apex 216 48
screen 300 56 90
through permanganate
