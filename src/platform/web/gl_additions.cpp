// What the browser's GL lacks or gets wrong and the program uses: immediate mode with
// attributes given anywhere in a batch, display lists, GLU's sphere, gluBuild2DMipmaps,
// and gluLookAt and gluPerspective multiplying the current matrix (Emscripten's own
// gluLookAt leaves it as it was).
#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "platform/web/immediate_mode.h"
#include "platform/web/mipmaps.h"
#include "platform/web/view_matrices.h"

// The browser GL's own calls, under their names (gl_immediate.h renames the program's).
#undef glColor4f
extern "C" void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a);

struct GLUquadric {
  GLenum drawStyle;
  GLenum normals;
};

namespace {
// Draws a batch from client arrays, then leaves the arrays as OpenGL starts them and the
// current colour as the batch's last.
void DrawBatch(const ImmediateBatch& batch) {
  if (batch.vertices.empty()) return;
  const GLsizei stride = sizeof(ImmediateVertex);
  const ImmediateVertex* first = batch.vertices.data();
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, stride, &first->x);
  if (batch.colours) {
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FLOAT, stride, &first->r);
  }
  if (batch.texCoords) {
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, stride, &first->s);
  }
  glDrawArrays(batch.mode, 0, static_cast<GLsizei>(batch.vertices.size()));
  glDisableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(4, GL_FLOAT, 0, nullptr);
  if (batch.colours) {
    glDisableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FLOAT, 0, nullptr);
    const ImmediateVertex& now = CurrentAttributes();
    glColor4f(now.r, now.g, now.b, now.a);
  }
  if (batch.texCoords) {
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(4, GL_FLOAT, 0, nullptr);
  }
}
}  // namespace

// Normals are kept but not drawn: the program lights nothing.
extern "C" {
void WebBegin(GLenum mode) { BeginBatch(mode); }

void WebEnd() {
  if (const ImmediateBatch* batch = EndBatch()) DrawBatch(*batch);
}

void WebVertex3f(GLfloat x, GLfloat y, GLfloat z) { AddVertex(x, y, z); }

// Outside a batch the browser's GL keeps the current colour for arrays without one.
void WebColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
  SetCurrentColour(r, g, b, a);
  if (!InBatch()) glColor4f(r, g, b, a);
}

void WebColor3f(GLfloat r, GLfloat g, GLfloat b) { WebColor4f(r, g, b, 1.0f); }
void WebTexCoord2f(GLfloat s, GLfloat t) { SetCurrentTexCoord(s, t); }
void WebNormal3f(GLfloat x, GLfloat y, GLfloat z) { SetCurrentNormal(x, y, z); }

GLuint glGenLists(GLsizei range) { return GenerateLists(range); }
void glNewList(GLuint list, GLenum mode) { StartList(list, mode == GL_COMPILE_AND_EXECUTE); }
void glEndList() { EndList(); }
void glDeleteLists(GLuint list, GLsizei range) { DeleteLists(list, range); }
GLboolean glIsList(GLuint list) { return ListBatches(list) ? GL_TRUE : GL_FALSE; }

void glCallList(GLuint list) {
  const std::vector<ImmediateBatch>* batches = ListBatches(list);
  if (!batches) return;
  for (const ImmediateBatch& batch : *batches) DrawBatch(batch);
}

GLUquadric* gluNewQuadric() { return new GLUquadric{GLU_FILL, GLU_SMOOTH}; }
void gluDeleteQuadric(GLUquadric* quadric) { delete quadric; }
void gluQuadricDrawStyle(GLUquadric* quadric, GLenum style) { quadric->drawStyle = style; }
void gluQuadricNormals(GLUquadric* quadric, GLenum normals) { quadric->normals = normals; }

// A filled sphere about the z axis, as GLU draws it: one strip of triangles per stack from
// the +z pole down, each vertex with its outward normal.
void gluSphere(GLUquadric* quadric, GLdouble radius, GLint slices, GLint stacks) {
  if (!quadric || slices < 2 || stacks < 1) return;
  const double pi = 3.14159265358979323846;
  for (int stack = 0; stack < stacks; ++stack) {
    double rho[2] = {stack * pi / stacks, (stack + 1) * pi / stacks};
    WebBegin(GL_TRIANGLE_STRIP);
    for (int slice = 0; slice <= slices; ++slice) {
      double theta = slice == slices ? 0.0 : slice * 2.0 * pi / slices;
      for (double r : rho) {
        float x = static_cast<float>(-std::sin(theta) * std::sin(r));
        float y = static_cast<float>(std::cos(theta) * std::sin(r));
        float z = static_cast<float>(std::cos(r));
        if (quadric->normals != GLU_NONE) WebNormal3f(x, y, z);
        WebVertex3f(x * static_cast<float>(radius), y * static_cast<float>(radius), z * static_cast<float>(radius));
      }
    }
    WebEnd();
  }
}

// Both multiply the current matrix, as GLU's do.
void gluLookAt(GLdouble ex, GLdouble ey, GLdouble ez, GLdouble cx, GLdouble cy, GLdouble cz, GLdouble ux, GLdouble uy,
               GLdouble uz) {
  const double eye[3] = {ex, ey, ez}, centre[3] = {cx, cy, cz}, up[3] = {ux, uy, uz};
  GLfloat matrix[16];
  LookAtRotation(eye, centre, up, matrix);
  glMultMatrixf(matrix);
  glTranslated(-ex, -ey, -ez);
}

void gluPerspective(GLdouble fovY, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
  GLfloat matrix[16];
  if (PerspectiveMatrix(fovY, aspect, zNear, zFar, matrix)) glMultMatrixf(matrix);
}

// Every level of the picture, halved by box filtering; bytes only, as the program gives.
// The picture's rows are taken as packed.
GLint gluBuild2DMipmaps(GLenum target, GLint internalFormat, GLsizei width, GLsizei height, GLenum format, GLenum type,
                        const void* data) {
  int components = format == GL_RGBA ? 4 : format == GL_RGB ? 3 : format == GL_LUMINANCE_ALPHA ? 2 : 1;
  if (width < 1 || height < 1) return GLU_INVALID_VALUE;
  if (type != GL_UNSIGNED_BYTE) return GLU_INVALID_ENUM;
  std::vector<MipmapLevel> levels = BuildMipmapLevels(static_cast<const uint8_t*>(data), width, height, components);
  // The levels' rows are packed: the small ones would be read past their end at the
  // usual 4-byte row alignment.
  GLint alignment = 4;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  for (size_t i = 0; i < levels.size(); ++i) {
    glTexImage2D(target, static_cast<GLint>(i), internalFormat, levels[i].width, levels[i].height, 0, format, type,
                 levels[i].pixels.data());
  }
  glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
  return 0;
}
}  // extern "C"
