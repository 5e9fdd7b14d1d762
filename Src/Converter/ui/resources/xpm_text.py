"""The C text of an XPM picture, as the icon generators write it: one character a colour."""


def xpm(name, image):
    colours = sorted({pixel for pixel in image.getdata()})
    chars = '.#abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789'
    assert len(colours) <= len(chars)
    key = {colour: chars[i] for i, colour in enumerate(colours)}
    lines = ['%d %d %d 1' % (image.width, image.height, len(colours))]
    lines += ['%s c #%02X%02X%02X' % ((key[colour],) + colour) for colour in colours]
    for y in range(image.height):
        lines.append(''.join(key[image.getpixel((x, y))] for x in range(image.width)))
    body = ',\n'.join('"%s"' % line for line in lines)
    return 'static const char* const %s[] = {\n%s};\n' % (name, body)
